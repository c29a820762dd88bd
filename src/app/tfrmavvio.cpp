#include "tfrmavvio.h"

#include "base/art/menuart.h"

#include "base/forms.h"
#include "base/platform.h"
#include "help/tfrmguida.h"
#include "app/tfrminfo.h"
#include "app/tfrmsplash.h"
#include "maker.h"
#include "base/widgets.h"
#include "export/tfrmexpstudenti.h"
#include "base/shortcuts.h"
#include "stats/tfrmstatistiche.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

using Artwork = std::function<void(QPainter &, const QSize &)>;

// A picture drawn by the program on its first paint, so that creating the
// menu at start costs nothing until the operator sees it.
class DrawnPicture : public PictureBox
{
public:
    DrawnPicture(const QString &name, const QRect &geometry, QWidget *parent, Artwork artwork)
        : PictureBox(name, geometry, parent), m_artwork(std::move(artwork))
    {
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (image().isNull() && !size().isEmpty()) {
            QImage picture(size(), QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            m_artwork(painter, size());
            painter.end();
            setImage(picture);
        }
        PictureBox::paintEvent(event);
    }

private:
    Artwork m_artwork;
};

} // namespace

QString TfrmAvvio::webSite()
{
    return Maker::webSite();
}

TfrmAvvio::TfrmAvvio(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAvvio"));
    QWidget *panel = Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra"), QSize(995, 692),
                                               QColor(0x5D, 0x85, 0xA6));

    auto *shpSfondo = new ShapeRect(QStringLiteral("shpSfondo"), QRect(4, 4, 986, 684), panel);
    shpSfondo->setFill(Qt::white);
    shpSfondo->setBorder(MenuArt::kPaleBlue);

    auto picture = [panel](const char *name, const QRect &geometry, Artwork artwork) {
        return new DrawnPicture(QLatin1String(name), geometry, panel, std::move(artwork));
    };
    auto clickable = [&](const char *name, const QRect &geometry, Artwork artwork,
                         void (TfrmAvvio::*handler)()) {
        DrawnPicture *box = picture(name, geometry, std::move(artwork));
        box->setClickable(true);
        connect(box, &PictureBox::clicked, this, handler);
        return box;
    };

    clickable("imgInfo", QRect(14, 14, 30, 30), [](QPainter &p, const QSize &s) {
        MenuArt::drawRoundIcon(p, s, QColor(0x64, 0xA8, 0xE8), MenuArt::kDeepBlue, QStringLiteral("i"), 0.7);
    }, &TfrmAvvio::imgInfoClick);
    picture("imgTitolo", QRect(96, 20, 807, 58), MenuArt::drawTitle);
    clickable("imgGuida", QRect(952, 16, 29, 28), [](QPainter &p, const QSize &s) {
        MenuArt::drawRoundIcon(p, s, QColor(0x66, 0xBB, 0x6A), QColor(0x2E, 0x7D, 0x32), QStringLiteral("?"), 0.65);
    }, &TfrmAvvio::imgGuidaClick);
    picture("imgSottotitolo", QRect(17, 82, 961, 22), [](QPainter &p, const QSize &s) {
        MenuArt::drawBar(p, s,
                QStringLiteral("Software rivolto a scuole pubbliche o private per archiviare i dati dei "
                               "frequentatori dei corsi e stampare i loro tesserini di riconoscimento"),
                false);
    });

    clickable("imgStaff", QRect(27, 144, 288, 268), MenuArt::drawStaff, &TfrmAvvio::imgStaffClick);
    clickable("imgExport", QRect(351, 144, 288, 268), MenuArt::drawExport, &TfrmAvvio::imgExportClick);
    clickable("imgBadges", QRect(675, 144, 288, 268), MenuArt::drawBadges, &TfrmAvvio::imgBadgesClick);

    for (const auto &bar : {std::make_pair("linSepara01", 417), std::make_pair("linSepara02", 468)}) {
        auto *line = new ShapeRect(QLatin1String(bar.first), QRect(12, bar.second, 970, 12), panel);
        line->setGradient(QColor(0x46, 0x82, 0xB4), Qt::white);
        line->setBorder(Qt::white);
    }

    clickable("btnStaff", QRect(18, 432, 308, 30), [](QPainter &p, const QSize &s) {
        MenuArt::drawButton(p, s, QStringLiteral("ARCHIVIO STUDENTI"));
    }, &TfrmAvvio::imgStaffClick);
    clickable("btnExport", QRect(342, 432, 308, 30), [](QPainter &p, const QSize &s) {
        MenuArt::drawButton(p, s, QStringLiteral("ESPORTA IN EXCEL"));
    }, &TfrmAvvio::imgExportClick);
    clickable("btnBadges", QRect(666, 432, 308, 30), [](QPainter &p, const QSize &s) {
        MenuArt::drawButton(p, s, QStringLiteral("STAMPA TESSERINI"));
    }, &TfrmAvvio::imgBadgesClick);

    clickable("btnStatistiche", QRect(342, 110, 308, 28), [](QPainter &p, const QSize &s) {
        MenuArt::drawButton(p, s, QStringLiteral("STATISTICHE"));
    }, &TfrmAvvio::imgStatisticheClick);

    clickable("appStaff", QRect(66, 485, 215, 127), [](QPainter &p, const QSize &s) {
        MenuArt::drawNote(p, s, QStringLiteral("Crea schede anagrafiche con foto degli studenti di ogni singolo "
                                      "corso e annota le loro assenze, prove sostenute ecc."));
    }, &TfrmAvvio::imgStaffClick);
    clickable("appExport", QRect(390, 485, 215, 127), [](QPainter &p, const QSize &s) {
        MenuArt::drawNote(p, s, QStringLiteral("Esporta l'archivio degli studenti in Excel per trasmettere i dati "
                                      "a chi li deve analizzare o stampare su carta"));
    }, &TfrmAvvio::imgExportClick);
    clickable("appBadges", QRect(714, 485, 215, 127), [](QPainter &p, const QSize &s) {
        MenuArt::drawNote(p, s, QStringLiteral("Stampa tesserini con foto e dati di ogni studente indicando il "
                                      "corso e la classe e inserendo il logo e i recapiti della scuola"));
    }, &TfrmAvvio::imgBadgesClick);

    clickable("imgSito", QRect(17, 632, 961, 22), [](QPainter &p, const QSize &s) {
        MenuArt::drawBar(p, s, QStringLiteral("Lumetra è realizzato da Lumetra Software  -  www.lumetra.it"), true);
    }, &TfrmAvvio::imgSitoClick);
    clickable("imgCopyright", QRect(16, 660, 23, 22), [](QPainter &p, const QSize &s) {
        MenuArt::drawRoundIcon(p, s, QColor(0xB0, 0xBE, 0xC5), QColor(0x60, 0x7D, 0x8B), QStringLiteral("©"), 0.75);
    }, &TfrmAvvio::imgCopyrightClick);
    clickable("imgEsci", QRect(960, 662, 17, 18), MenuArt::drawExit, &TfrmAvvio::imgEsciClick);
    enableKeyboard();
}

void TfrmAvvio::enableKeyboard()
{
    // The three rows first, then the small pictures: Tab and the arrow keys
    // walk them, Enter or Space opens what has the focus.
    const struct { const char *name; const char *description; } stops[] = {
        {"btnStaff", "Archivio studenti"},
        {"btnExport", "Esporta in Excel"},
        {"btnBadges", "Stampa tesserini"},
        {"btnStatistiche", "Statistiche dell'archivio"},
        {"imgInfo", "Informazioni su Lumetra"},
        {"imgGuida", "Guida all'utilizzo del software"},
        {"imgCopyright", "Riconoscimenti"},
        {"imgSito", "Sito web"},
        {"imgEsci", "Esci"},
    };
    QWidget *previous = nullptr;
    for (const auto &stop : stops) {
        auto *picture = findChild<PictureBox *>(QLatin1String(stop.name));
        picture->setKeyboardFocusable(true);
        picture->setAccessibleName(QString::fromUtf8(stop.description));
        if (previous)
            QWidget::setTabOrder(previous, picture);
        previous = picture;
    }
    Shortcuts::bind(this, QStringLiteral("btnStatistiche"), QKeySequence(Qt::CTRL | Qt::Key_T));
    installEventFilter(this);
    for (QWidget *child : findChildren<PictureBox *>())
        child->installEventFilter(this);
}

bool TfrmAvvio::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Right || key == Qt::Key_Down)
            return focusNextChild();
        if (key == Qt::Key_Left || key == Qt::Key_Up)
            return focusPreviousChild();
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmAvvio::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The keyboard starts on the first row.
    if (QWidget *first = findChild<PictureBox *>(QStringLiteral("btnStaff")); first && !focusWidget())
        first->setFocus(Qt::OtherFocusReason);
}

void TfrmAvvio::imgStaffClick()
{
    emit studentsRequested();
    hide();
}

void TfrmAvvio::imgBadgesClick()
{
    emit cardRequested();
    hide();
}

void TfrmAvvio::imgExportClick()
{
    TfrmExpStudenti dlg(m_context, this);
    dlg.setWindowState(dlg.windowState() | Qt::WindowMaximized);
    dlg.exec();
}

void TfrmAvvio::imgStatisticheClick()
{
    TfrmStatistiche dlg(m_context, this);
    dlg.exec();
}

void TfrmAvvio::imgInfoClick()
{
    TfrmInfo dlg(m_context, this);
    dlg.exec();
}

void TfrmAvvio::imgCopyrightClick()
{
    TfrmSplash dlg(m_context, this);
    dlg.exec();
}

void TfrmAvvio::imgGuidaClick()
{
    TfrmGuida::showHelp(m_context, this, HelpTexts::Topic::General);
}

void TfrmAvvio::imgSitoClick()
{
    m_context.platform->shellOpen(webSite());
}

void TfrmAvvio::imgEsciClick()
{
    QApplication::quit();
}

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    QApplication::quit();
}
