#include "tfrmguida.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "help/helpart.h"
#include "help/weblink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

TfrmGuida::TfrmGuida(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmGuida"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Guida all'utilizzo del software"), QSize(670, 572),
                                        QSize(642, 540), Qt::white, QColor(0xBF, 0xD8, 0xEF));

    // Created first: first in the tab order.
    m_btnChiudi = Kit::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(472, 490, 161, 38),
                              panel, Forms::verdanaPt(12));
    Kit::pressOnEnter(m_btnChiudi);

    Kit::box(QStringLiteral("shpSfondo"), QRect(8, 8, 625, 89), panel, Qt::white, Qt::white,
             QColor(0xF5, 0xDE, 0xB3));
    Kit::picture(QStringLiteral("imgLogo"), QRect(24, 16, 587, 69), panel, HelpArt::guideHeading(QSize(587, 69)));

    m_lblTitolo = Kit::label(QStringLiteral("lblTitolo"), QStringLiteral("Argomento della guida."), QPoint(8, 104),
                             panel, Forms::pointFont(QStringLiteral("Arial"), 16, true), QColor(0xDC, 0x14, 0x3C));

    m_txtGuida = new QPlainTextEdit(panel);
    m_txtGuida->setObjectName(QStringLiteral("txtGuida"));
    m_txtGuida->setGeometry(8, 128, 625, 350);
    m_txtGuida->setFont(Forms::verdanaPt(12, true));
    m_txtGuida->setReadOnly(true);
    // Read-only, yet scrolled and copied from with the keys as well as the mouse.
    m_txtGuida->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtGuida->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_txtGuida->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    PictureBox *imgPDF = Kit::picture(QStringLiteral("imgPDF"), QRect(8, 496, 27, 27), panel,
                                      HelpArt::pdfIcon(QSize(27, 27)));
    QLabel *lnkWeb = linkText(QStringLiteral("lnkWeb"), QStringLiteral("Visualizza guida in formato PDF"),
                              QPoint(44, 500), panel);
    auto *link = new WebLink(lnkWeb, {imgPDF});

    setTabOrder(m_btnChiudi, m_txtGuida);
    connect(link, &WebLink::activated, this, &TfrmGuida::lnkWebClick);
    connect(m_btnChiudi, &QPushButton::clicked, this, &TfrmGuida::btnChiudiClick);
}

void TfrmGuida::showHelp(const AppContext &context, QWidget *parent, HelpTexts::Topic topic)
{
    TfrmGuida dialog(context, parent);
    dialog.setHelpText(HelpTexts::text(topic));
    dialog.exec();
}

void TfrmGuida::setHelpText(const HelpTexts::HelpText &text)
{
    m_lblTitolo->setText(text.title);
    m_lblTitolo->adjustSize();
    // The memo shows each CR LF as one line break, as a Windows memo does.
    QString body = text.body;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_txtGuida->setPlainText(body);
}

QString TfrmGuida::userGuidePath(const QString &programFolder, const QString &dataFolder)
{
    const QDir program(programFolder);
    // The program's own copy first: a data folder may keep the guide of an
    // older version that once ran from it.
    for (const QString &shipped : {program.filePath(QStringLiteral("Guida.pdf")),
                                   program.filePath(QStringLiteral("../../share/doc/lumetra/Guida.pdf"))}) {
        if (QFileInfo(shipped).isFile())
            return QDir::cleanPath(shipped);
    }
    return dataFolder + QStringLiteral("Guida.pdf");
}

void TfrmGuida::lnkWebClick()
{
    const QString guide = userGuidePath(QCoreApplication::applicationDirPath(), m_context.folder);
    // Quoted: the path may have spaces in it.
    m_context.platform->shellOpen(QLatin1Char('"') + guide + QLatin1Char('"'));
}

void TfrmGuida::btnChiudiClick()
{
    close();
}

void TfrmGuida::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Forms::centre(this);
        m_btnChiudi->setFocus(Qt::OtherFocusReason);
    }
}
