#pragma once

#include "base/appcontext.h"
#include "help/helptexts.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

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

    // Shows text's title in lblTitolo and its body in the memo txtGuida.
    void setHelpText(const HelpTexts::HelpText &text);

    // The user guide the link opens: the one shipped with the program, beside
    // its executable (a program folder) or in the documentation folder of an
    // installed package (<prefix>/share/doc/lumetra/ for an executable in
    // <prefix>/lib/lumetra/); else "Guida.pdf" in the data folder.
    static QString userGuidePath(const QString &programFolder, const QString &dataFolder);

public slots:
    // Opens the user guide with the shell.
    void lnkWebClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext m_context;
    QLabel *m_lblTitolo = nullptr;
    QPlainTextEdit *m_txtGuida = nullptr;
    QPushButton *m_btnChiudi = nullptr;
};
