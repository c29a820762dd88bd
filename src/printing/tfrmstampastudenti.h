#pragma once

#include "app/appcontext.h"

#include <QDialog>

class TfrmStampaStudenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaStudenti(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
