#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmSlideshow_Studenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSlideshow_Studenti(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
