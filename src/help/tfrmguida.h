#pragma once

#include "base/appcontext.h"
#include "help/helptexts.h"

#include <QDialog>

// The guide window: one help text, title and body, and the link to the user
// guide "Guida.pdf".
class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(const AppContext &context, QWidget *parent = nullptr);

    // Opens a new guide window owned by `parent` showing `topic`'s text,
    // modally; returns when it closes.
    static void showHelp(const AppContext &context, QWidget *parent, HelpTexts::Topic topic);

private:
    AppContext m_context;
};
