#pragma once

#include "app/appcontext.h"

#include <QDialog>

class TfrmPartitaIva : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPartitaIva(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
