#include "tfrmsplash.h"

#include "aboutart.h"
#include "maker.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "help/weblink.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

TfrmSplash::TfrmSplash(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmSplash"));
    QWidget *panel = Forms::setupDialog(this, QStringLiteral(" Lumetra - realizzato da %1").arg(Maker::name()),
                                        QSize(661, 467), QSize(642, 448), Qt::white, QColor(0x35, 0x25, 0x25));
    // A light sheet: the dark blue link stays readable where the window's
    // gradient turns dark.
    Forms::setGradientBackground(panel, Qt::white, QColor(0xF3, 0xEE, 0xEE));

    m_btnChiudi = Kit::button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(473, 402, 160, 34),
                              panel, Forms::verdana(16));
    Kit::pressOnEnter(m_btnChiudi);

    Kit::picture(QStringLiteral("imgLogo"), QRect(8, 8, 625, 380), panel, AboutArt::credits(QSize(625, 380)));
    PictureBox *imgWeb = Kit::picture(QStringLiteral("imgWeb"), QRect(8, 400, 39, 36), panel,
                                      AboutArt::globe(QSize(39, 36)));
    QLabel *lnkWeb = linkText(QStringLiteral("lnkWeb"), Maker::webAddress(), QPoint(54, 409), panel);
    auto *link = new WebLink(lnkWeb, {imgWeb});

    connect(link, &WebLink::activated, this, &TfrmSplash::lnkWebClick);
    connect(m_btnChiudi, &QPushButton::clicked, this, &TfrmSplash::btnChiudiClick);
}

void TfrmSplash::lnkWebClick()
{
    m_context.platform->shellOpen(Maker::webSite());
}

void TfrmSplash::btnChiudiClick()
{
    close();
}

void TfrmSplash::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // Over the window that opened it.
        Forms::centre(this, parentWidget());
        m_btnChiudi->setFocus(Qt::OtherFocusReason);
    }
}
