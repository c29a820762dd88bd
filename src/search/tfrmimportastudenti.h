#pragma once

#include "app/appcontext.h"

#include <QDialog>

class TfrmImportaStudenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImportaStudenti(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
