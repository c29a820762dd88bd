#pragma once

#include "app/appcontext.h"

#include <QDialog>

class TfrmTrovaStudenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaStudenti(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
