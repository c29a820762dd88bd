#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
