#include "tfrmwebcam.h"

#include "mediaart.h"

#include "base/forms.h"
#include "base/kit.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "archive/studentfiles.h"

#include <QDir>
#include <QPushButton>
#include <QShowEvent>

#include <cerrno>
#include <cstring>

namespace {

const QColor kBackground(0x4F, 0x73, 0x97);
const QSize kPicture(366, 274);

// A white-framed panel holding a picture at (8, 8).
PictureBox *framedPicture(QWidget *window, const QString &panelName, const QString &pictureName,
                          const QPoint &at, const QImage &placeholder)
{
    auto *panel = Kit::box(panelName, QRect(at, QSize(382, 290)), window, QColor(0xF4, 0xF6, 0xF8),
                           QColor(0xDC, 0xE2, 0xE8), QColor(0x2E, 0x4A, 0x66));
    panel->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    PictureBox *picture = Kit::picture(pictureName, QRect(QPoint(8, 8), kPicture), panel, placeholder);
    picture->setEnlarge(false);
    return picture;
}

} // namespace

TfrmWebCam::TfrmWebCam(const AppContext &context, QWidget *parent, PhotoTarget *target)
    : QDialog(parent), m_context(context), m_target(target)
{
    setObjectName(QStringLiteral("frmWebCam"));
    Forms::applyDataFormats();
    Forms::setupDialog(this, QStringLiteral(" Cattura foto con webcam"), QSize(807, 405), QSize(), kBackground,
                       Qt::white);
    Forms::addModeTag(this);

    m_imgCamera = framedPicture(this, QStringLiteral("panCamera"), QStringLiteral("imgCamera"), QPoint(16, 16),
                                MediaArt::webcam(kPicture));
    m_imgTarget = framedPicture(this, QStringLiteral("panTarget"), QStringLiteral("imgTarget"), QPoint(408, 16),
                                MediaArt::photoCamera(kPicture));
    m_imgBianco = Kit::picture(QStringLiteral("imgBianco"), QRect(QPoint(24, 24), kPicture), this,
                               m_imgCamera->image());
    m_imgBianco->hide();

    const QFont font = Forms::verdana(13, true);
    auto *accendi = Kit::button(QStringLiteral("btnAccendi"), QStringLiteral("Accendi webcam"),
                                QRect(16, 312, 382, 34), this, font);
    auto *spegni = Kit::button(QStringLiteral("btnSpegni"), QStringLiteral("Spegni webcam"),
                               QRect(16, 352, 382, 34), this, font);
    auto *cattura = Kit::button(QStringLiteral("btnCattura"), QStringLiteral("Cattura foto"),
                                QRect(408, 312, 188, 34), this, font);
    auto *salva = Kit::button(QStringLiteral("btnSalvaFotogramma"), QStringLiteral("Salva foto su disco"),
                              QRect(603, 312, 188, 34), this, font);
    auto *importa = Kit::button(QStringLiteral("btnImportaFoto"), QStringLiteral("Importa foto in scheda"),
                                QRect(408, 352, 188, 34), this, font);
    auto *annulla = Kit::button(QStringLiteral("btnClose"), QStringLiteral("Annulla"), QRect(603, 352, 188, 34),
                                this, font);
    const QList<QPushButton *> order{accendi, spegni, cattura, salva, importa, annulla};
    for (int i = 0; i < order.size(); ++i) {
        Kit::pressOnEnter(order[i]);
        if (i > 0)
            setTabOrder(order[i - 1], order[i]);
    }
    connect(accendi, &QPushButton::clicked, this, &TfrmWebCam::btnAccendiClick);
    connect(spegni, &QPushButton::clicked, this, &TfrmWebCam::btnSpegniClick);
    connect(cattura, &QPushButton::clicked, this, &TfrmWebCam::btnCatturaClick);
    connect(salva, &QPushButton::clicked, this, &TfrmWebCam::btnSalvaFotogrammaClick);
    connect(importa, &QPushButton::clicked, this, &TfrmWebCam::btnImportaFotoClick);
    connect(annulla, &QPushButton::clicked, this, &TfrmWebCam::btnCloseClick);
}

TfrmWebCam::~TfrmWebCam()
{
    switchOff();
}

void TfrmWebCam::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Forms::centre(this, parentWidget());
        findChild<QPushButton *>(QStringLiteral("btnAccendi"))->setFocus(Qt::OtherFocusReason);
    }
}

void TfrmWebCam::btnAccendiClick()
{
    // The camera (and the module behind it) is opened at the first switch-on;
    // with none, a later press tries again, a camera may have been plugged in.
    if (!m_device) {
        m_device = m_context.platform->openCaptureDevice(this);
        if (!m_device)
            return;
        // Queued when the camera signals from its own thread: the live
        // picture is touched on this thread only.
        connect(m_device.get(), &CaptureDevice::frameReady, this, &TfrmWebCam::camCameraSampleBufferReady);
    }
    m_on = m_device->start();
}

void TfrmWebCam::btnSpegniClick()
{
    switchOff();
}

void TfrmWebCam::switchOff()
{
    if (m_device)
        m_device->stop();
    m_on = false;
}

void TfrmWebCam::camCameraSampleBufferReady()
{
    // A frame still on its way when the camera was switched off is dropped:
    // the live picture keeps the last frame shown while on.
    if (!m_on || !m_device)
        return;
    const QImage frame = m_device->latestFrame();
    if (!frame.isNull())
        m_imgCamera->setImage(frame);
}

void TfrmWebCam::btnCatturaClick()
{
    m_imgTarget->setImage(m_imgCamera->image());
}

void TfrmWebCam::btnSalvaFotogrammaClick()
{
    const QString path = m_context.platform->saveFileName(
        this, QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."),
        QStringLiteral("File Jpeg (*.jpg)"), QStringLiteral("Foto.jpg"), QStringLiteral("jpg"));
    if (path.isEmpty())
        return;
    // A frame that could not be saved stays: the operator may save it
    // elsewhere or import it, instead of having to pose the student again.
    int error = 0;
    if (!StudentFiles::saveJpeg(path, m_imgTarget->image(), &error))
        m_context.platform->warning(this, saveFailureText(path, error));
}

QString TfrmWebCam::saveFailureText(const QString &path, int error)
{
    QString reason;
    switch (error) {
    case 0:
        reason = QStringLiteral("La foto non può essere convertita in formato Jpeg.");
        break;
    case EACCES:
    case EPERM:
        reason = QStringLiteral("Non si dispone dei permessi di scrittura nella cartella scelta.");
        break;
    case EROFS:
        reason = QStringLiteral("La cartella scelta si trova su un disco protetto dalla scrittura.");
        break;
    case ENOSPC:
    case EDQUOT:
        reason = QStringLiteral("Il disco è pieno.");
        break;
    case ENOENT:
    case ENOTDIR:
        reason = QStringLiteral("La cartella scelta non esiste.");
        break;
    case EISDIR:
        reason = QStringLiteral("Esiste già una cartella con lo stesso nome del file.");
        break;
    case ENAMETOOLONG:
        reason = QStringLiteral("Il nome del file è troppo lungo.");
        break;
    default:
        reason = QStringLiteral("Errore di sistema: %1.").arg(QString::fromLocal8Bit(std::strerror(error)));
        break;
    }
    return QStringLiteral("Attenzione: non è stato possibile salvare la foto nel file \"%1\".")
               .arg(QDir::toNativeSeparators(path))
           + QStringLiteral("\r\n\r\n") + reason + QStringLiteral("\r\n\r\n")
           + QStringLiteral("La foto catturata resta disponibile: è possibile salvarla in un'altra cartella o "
                            "importarla nella scheda.");
}

void TfrmWebCam::btnImportaFotoClick()
{
    switchOff();
    if (!m_target || !Forms::modeTagIs(this, QStringLiteral("euro_01")))
        return;
    m_target->takePhoto(m_imgTarget->image());
    accept();
}

void TfrmWebCam::btnCloseClick()
{
    switchOff();
    reject();
}

void TfrmWebCam::done(int result)
{
    // Every way out (the buttons, the owner closing, the program ending)
    // passes here.
    switchOff();
    QDialog::done(result);
}
