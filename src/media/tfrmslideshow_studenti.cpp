#include "tfrmslideshow_studenti.h"

#include "mediaart.h"
#include "photowindow.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/useraction.h"
#include "base/widgets.h"
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"

#include <QLabel>
#include <QShowEvent>
#include <QTimer>

TfrmSlideshow_Studenti::TfrmSlideshow_Studenti(const AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmSlideshow_Studenti"));
    Forms::applyDataFormats();
    const PhotoWindow::Parts parts =
        PhotoWindow::setup(this, QStringLiteral(" Slide show foto studenti"), QSize(995, 692), QSize(969, 669),
                           m_context.platform->screenSize());
    m_panel = parts.panel;
    m_imgFoto = parts.photo;

    // Hidden helpers: the position, the name, the step's owner and the
    // waiting picture.
    m_lblPosizione = Kit::label(QStringLiteral("lblPosizione"), QString(), QPoint(0, 0), m_panel);
    m_lblPosizione->hide();
    m_lblNome = Kit::label(QStringLiteral("lblNome"), QString(), QPoint(0, 0), m_panel);
    m_lblNome->hide();
    m_cmdAvanti = Kit::picture(QStringLiteral("cmdAvanti"), QRect(0, 0, 1, 1), m_panel);
    m_cmdAvanti->hide();
    connect(m_cmdAvanti, &PictureBox::clicked, this, &TfrmSlideshow_Studenti::cmdAvantiClick);
    m_imgBianco = Kit::picture(QStringLiteral("imgBianco"), QRect(0, 0, 640, 360), m_panel,
                               MediaArt::slideshowWaiting(QSize(640, 360)));
    m_imgBianco->hide();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(6000);
    connect(m_timer, &QTimer::timeout, this, &TfrmSlideshow_Studenti::TimerTimer);
}

void TfrmSlideshow_Studenti::setInterval(int milliseconds)
{
    m_timer->setInterval(milliseconds);
}

qint64 TfrmSlideshow_Studenti::position() const
{
    return m_lblPosizione->text().toLongLong();
}

void TfrmSlideshow_Studenti::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    showWaiting();
    m_ended = false;
    m_timer->start();
}

void TfrmSlideshow_Studenti::showWaiting()
{
    m_imgFoto->setImage(m_imgBianco->image());
}

void TfrmSlideshow_Studenti::TimerTimer()
{
    // While a step's message is on screen the timer does not fire again (Qt
    // never re-enters a timer's own handler), so messages do not pile up.
    cmdAvantiClick();
}

void TfrmSlideshow_Studenti::cmdAvantiClick()
{
    if (m_ended)
        return;
    qint64 p = position(); // not set: 0
    enum { Rewound, Empty, Step } outcome = Rewound;
    const bool ok = runUserAction(
        *m_context.platform, this, Platform::MessageKind::Error, ArchiveMessages::accessError(), [&] {
            StudentArchive archive(m_context.folder);
            const qint64 count = archive.count();
            if (count == 0) {
                outcome = Empty;
            } else if (p < count) {
                archive.read(p + 1); // only its number is used, for the photo
                outcome = Step;
            }
            archive.close();
        });
    if (!ok)
        return;
    switch (outcome) {
    case Empty:
        m_lblPosizione->clear();
        m_timer->stop();
        m_ended = true;
        m_context.platform->information(this, ArchiveMessages::emptyArchive());
        close();
        return;
    case Step: {
        ++p;
        m_lblPosizione->setText(QString::number(p));
        // Decoded no larger than the screen needs.
        const QImage photo = StudentFiles::loadStudentPhoto(m_context.folder, QString::number(p), m_imgFoto->size());
        if (photo.isNull())
            showWaiting();
        else
            m_imgFoto->setImage(photo);
        return;
    }
    case Rewound:
        // After the last record (or past the end of an archive replaced by a
        // shorter one) the show starts again; the photo on screen stays.
        m_lblPosizione->setText(QStringLiteral("0"));
        return;
    }
}

void TfrmSlideshow_Studenti::done(int result)
{
    m_timer->stop();
    m_ended = true;
    QDialog::done(result);
}
