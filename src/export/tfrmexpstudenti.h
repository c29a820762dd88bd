#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmExpStudenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmExpStudenti(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
