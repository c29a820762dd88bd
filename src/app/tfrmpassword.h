#pragma once

#include "app/appcontext.h"

#include <QWidget>

class TfrmPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPassword(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
