#pragma once

#include "app/appcontext.h"

#include <QDialog>

class TfrmCodFisc : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCodFisc(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
