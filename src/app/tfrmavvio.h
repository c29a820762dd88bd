#pragma once

#include "app/appcontext.h"

#include <QWidget>

class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
