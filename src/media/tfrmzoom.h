#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
