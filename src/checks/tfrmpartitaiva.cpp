#include "tfrmpartitaiva.h"

#include "base/forms.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "base/art/checkslogo.h"
#include "checkwindowparts.h"
#include "checks/partitaiva.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QValidator>

namespace {

const QColor SteelBlue(0x46, 0x82, 0xB4);

bool allDigits(const QString &text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Whatever reaches the edit other than through the keys (pasting, dropping,
// input methods) must also be digits, and may not make the number longer
// than 11 digits. The limit is kept here rather than as the edit's maximum
// length, because that would silently cut a longer number put in by the
// caller, which must instead be reported as too long.
class DigitsValidator : public QValidator
{
public:
    explicit DigitsValidator(QLineEdit *edit) : QValidator(edit), m_accepted(edit->text())
    {
        // The edit already holds the changed text while it asks, so the
        // length to compare with is the one it last settled on.
        connect(edit, &QLineEdit::textChanged, this, [this, edit](const QString &text) {
            m_accepted = text;
            if (!m_refused || m_settling)
                return;
            // Only the caller's setText gets past a refusal. The edit keeps
            // a refused text as unchecked and would then let the next change
            // through unchecked too: have it settle on this text as valid.
            m_settling = true;
            const QSignalBlocker quiet(edit);
            const int cursor = edit->cursorPosition();
            edit->setText(QString());
            edit->setText(text);
            edit->setCursorPosition(cursor);
            m_settling = false;
        });
    }

    State validate(QString &input, int &) const override
    {
        m_refused = !allDigits(input)
            || (input.size() > PartitaIva::Length && input.size() > m_accepted.size());
        return m_refused ? Invalid : Acceptable;
    }

private:
    QString m_accepted;
    mutable bool m_refused = false;
    bool m_settling = false;
};

} // namespace

TfrmPartitaIva::TfrmPartitaIva(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmPartitaIva"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Controllo partita IVA"), QSize(480, 254),
                                        QSize(453, 222), SteelBlue, Qt::white);
    Forms::applyDataFormats();

    auto *shpContainer = new ShapeRect(QStringLiteral("shpContainer"), QRect(8, 8, 437, 169), panel);
    shpContainer->setFill(Qt::white);
    shpContainer->setBorder(QColor(0xFF, 0xE4, 0xC4)); // bisque

    auto *imgLogo = new PictureBox(QStringLiteral("imgLogo"), QRect(16, 16, 421, 73), panel);
    imgLogo->setImage(ChecksLogo::draw(QSize(421, 73), QStringLiteral("Controllo partita IVA"),
                                       QColor(0xC0, 0x00, 0x00), ChecksLogo::Emblem));

    const CheckWindowParts parts = CheckWindowParts::build(
        panel, QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."), 95,
        QStringLiteral("txtPartitaIva"), PartitaIva::Length, SteelBlue, Qt::white);
    m_txtPartitaIva = parts.edit;
    m_txtPartitaIva->setValidator(new DigitsValidator(m_txtPartitaIva));
    m_txtPartitaIva->installEventFilter(this);
    m_btnControlla = parts.btnControlla;
    QPushButton *btnChiudi = parts.btnChiudi;

    connect(m_btnControlla, &QPushButton::clicked, this, &TfrmPartitaIva::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmPartitaIva::btnChiudiClick);
}

void TfrmPartitaIva::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Forms::centre(this);
        m_txtPartitaIva->setFocus(Qt::OtherFocusReason);
    }
}

bool TfrmPartitaIva::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtPartitaIva) {
        if (event->type() == QEvent::KeyPress)
            return !txtPartitaIvaKeyDown(static_cast<QKeyEvent *>(event));
        // Shortcut overrides (Ctrl+V, Ctrl+Z, ...) would reach the edit
        // without a key press: refuse them so they stay discarded.
        if (event->type() == QEvent::ShortcutOverride) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (!txtPartitaIvaKeyDown(key) || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
                event->accept();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmPartitaIva::txtPartitaIvaKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->type() == QEvent::KeyPress)
            m_btnControlla->setFocus(Qt::TabFocusReason);
        return false;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    // Moving between controls is the window's business, not the edit's.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    const QString text = event->text();
    return text.size() == 1 && allDigits(text);
}

void TfrmPartitaIva::btnControllaClick()
{
    const QString number = m_txtPartitaIva->text();
    if (number.size() != PartitaIva::Length) {
        m_context.platform->warning(
            this, QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        m_txtPartitaIva->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (PartitaIva::check(number)) {
        const QString office = PartitaIva::officeName(number.mid(7, 3));
        m_context.platform->information(
            this, QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                 "E' stato rilasciato dall'Ufficio IVA del Comune di ")
                      + office + QLatin1Char('.'));
    } else {
        m_context.platform->warning(
            this, QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                                 "Non è quindi possibile fornire informazioni relative all'Ufficio IVA "
                                 "che lo ha rilasciato."));
    }
    close();
}

void TfrmPartitaIva::btnChiudiClick()
{
    close();
}
