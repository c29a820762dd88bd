#pragma once

#include "base/appcontext.h"

#include <QDialog>

class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(const AppContext &context, QWidget *parent = nullptr);

private:
    AppContext m_context;
};
