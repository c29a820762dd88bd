#pragma once

#include "app/appcontext.h"

#include <QDialog>

class TfrmProve_Sostenute : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmProve_Sostenute(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
