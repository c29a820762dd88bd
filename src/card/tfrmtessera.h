#pragma once

#include "base/appcontext.h"

#include <QWidget>

class TfrmTessera : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmTessera(const AppContext &context, QWidget *parent = nullptr);

signals:
    // Closing in any way hands the operator back to the start menu.
    void closedToMenu();

private:
    AppContext m_context;
};
