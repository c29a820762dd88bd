#include "base/forms.h"

#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "base/platform.h"

#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QLocale>
#include <QScreen>

namespace {

class HintFilter : public QObject
{
public:
    HintFilter(QLabel *panInfo, const QString &text, QObject *parent)
        : QObject(parent), m_panInfo(panInfo), m_text(text) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
            if (m_panInfo->text() != m_text)
                m_panInfo->setText(m_text);
        return false;
    }

private:
    QLabel *m_panInfo;
    QString m_text;
};

class EnterFilter : public QObject
{
public:
    EnterFilter(QWidget *to, QObject *parent) : QObject(parent), m_to(to) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_to->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QWidget *m_to;
};

// Dialogs close through their own buttons only, never on Escape.
class EscapeFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress
               && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
    }
};

QWidget *addContainer(QWidget *window, const QSize &size)
{
    auto *panel = new QWidget(window);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setFixedSize(size);
    auto *layout = new QGridLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel, 0, 0, Qt::AlignCenter);
    return panel;
}

} // namespace

namespace {

class QuietArea : public QObject
{
public:
    QuietArea(QLabel *panInfo, QObject *parent) : QObject(parent), m_panInfo(panInfo) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove && !m_panInfo->text().isEmpty())
            m_panInfo->clear();
        return false;
    }

private:
    QLabel *m_panInfo;
};

} // namespace

namespace Forms {

void setGradientBackground(QWidget *widget, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::Window, QBrush(gradient));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QWidget *setupWorkingWindow(QWidget *window, const QString &caption, const QSize &panelSize,
                            const QColor &top, const QColor &bottom)
{
    window->setWindowTitle(caption);
    window->resize(1016, 713);
    setGradientBackground(window, top, bottom);
    return addContainer(window, panelSize);
}

QWidget *setupDialog(QWidget *dialog, const QString &caption, const QSize &clientSize,
                     const QSize &panelSize, const QColor &top, const QColor &bottom)
{
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setFixedSize(clientSize);
    dialog->installEventFilter(new EscapeFilter(dialog));
    setGradientBackground(dialog, top, bottom);
    return panelSize.isValid() ? addContainer(dialog, panelSize) : nullptr;
}

void centre(QWidget *window, QWidget *over)
{
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

QLabel *addModeTag(QWidget *dialog)
{
    auto *tag = new QLabel(dialog);
    tag->setTextFormat(Qt::PlainText);
    tag->setObjectName(QStringLiteral("lblMemory"));
    tag->hide();
    return tag;
}

void setModeTag(QWidget *dialog, const QString &word)
{
    child<QLabel>(dialog, QStringLiteral("lblMemory"))->setText(word);
}

bool modeTagIs(const QWidget *dialog, const QString &word)
{
    const auto *tag = dialog->findChild<QLabel *>(QStringLiteral("lblMemory"));
    return tag && FieldCodec::trimControls(tag->text()) == word;
}

void bindHint(QWidget *control, QLabel *panInfo, const QString &text)
{
    control->setMouseTracking(true);
    control->installEventFilter(new HintFilter(panInfo, text, control));
}

void quietHint(QWidget *area, QLabel *panInfo)
{
    area->installEventFilter(new QuietArea(panInfo, area));
}

void installStyleHighlight(QWidget *panel)
{
    panel->setStyleSheet(panel->styleSheet()
                         + QStringLiteral("QLineEdit { background: #F0F8FF; border: 1px solid #87CEEB; }"
                                          "QLineEdit:focus { background: #FFFF00; }"));
}

void setEnterNext(QWidget *from, QWidget *to)
{
    from->installEventFilter(new EnterFilter(to, from));
}

void setEnterChain(const QList<QWidget *> &chain, QWidget *wrapTo)
{
    for (int i = 0; i < chain.size(); ++i)
        setEnterNext(chain[i], i + 1 < chain.size() ? chain[i + 1] : wrapTo);
}

int pixelsForPoints(double points)
{
    return qRound(points * 96.0 / 72.0);
}

QFont pixelFont(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void applyDataFormats()
{
    // Italian gives dd/MM/yyyy and the decimal comma.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

QString formatDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QWidget *requireChild(const QWidget *window, const QString &name, const char *type)
{
    qFatal("%s has no %s named \"%s\"", qPrintable(window->objectName()), type, qPrintable(name));
    return nullptr;
}

bool confirmStorable(Platform &platform, QWidget *parent, const QString &text)
{
    const QString characters = CodePage::unstorable(text);
    return characters.isEmpty() || platform.confirm(parent, unstorableQuestion(characters));
}

QString unstorableQuestion(const QString &characters)
{
    QStringList each;
    for (auto it = characters.cbegin(); it != characters.cend(); ++it) {
        QString one(*it);
        if (it->isHighSurrogate() && it + 1 != characters.cend())
            one.append(*++it);
        each.append(one);
    }
    const QString which = each.size() == 1
                              ? QStringLiteral("il carattere %1 non può essere memorizzato e verrà sostituito "
                                               "da un punto interrogativo (?).")
                                    .arg(each.first())
                              : QStringLiteral("i caratteri %1 non possono essere memorizzati e verranno sostituiti "
                                               "da un punto interrogativo (?).")
                                    .arg(each.join(QStringLiteral(" ")));
    return QStringLiteral("Attenzione: ") + which + QStringLiteral("\r\n\r\n")
           + QStringLiteral("Salvare comunque? Scegliere No per tornare a correggere il testo.");
}

} // namespace Forms
