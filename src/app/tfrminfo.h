#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
