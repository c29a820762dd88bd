#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
