#include "tfrmguida.h"

#include "base/forms.h"

TfrmGuida::TfrmGuida(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmGuida"));
    Forms::setupDialog(this, QStringLiteral(" Guida all'utilizzo del software"), QSize(670, 572));
}

void TfrmGuida::showHelp(const AppContext &context, QWidget *parent, HelpTexts::Topic topic)
{
    TfrmGuida dialog(context, parent);
    dialog.setWindowTitle(dialog.windowTitle()); // the text arrives with the finished window
    Q_UNUSED(topic);
    dialog.exec();
}
