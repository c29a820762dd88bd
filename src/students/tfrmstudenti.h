#pragma once

#include "app/appcontext.h"

#include <QWidget>

class TfrmStudenti : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmStudenti(const AppContext &context, QWidget *parent = nullptr);

signals:
    // Closing in any way hands the operator back to the start menu.
    void closedToMenu();

private:
    AppContext m_context;
};
