#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmWebCam : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmWebCam(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
