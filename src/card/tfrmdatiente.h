#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmDatiEnte : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDatiEnte(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
