#pragma once

#include "app/appcontext.h"

#include <QDialog>

class TfrmAnteprimaStudenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaStudenti(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
