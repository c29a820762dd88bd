#pragma once

#include "app/appcontext.h"

#include <QWidget>

class TfrmCambiaPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
