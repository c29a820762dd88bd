#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"

#include <QDialog>

class TfrmStampaTessera : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaTessera(const AppContext &context, QWidget *parent = nullptr,
                               const IdCardSource *source = nullptr);

private:
    AppContext m_context;
};
