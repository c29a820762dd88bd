#include "qtplatform.h"

#include <QApplication>
#include <QCamera>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

namespace {

class CameraDevice : public CaptureDevice
{
public:
    explicit CameraDevice(QObject *parent)
        : CaptureDevice(parent), m_camera(this), m_sink(this)
    {
        m_session.setCamera(&m_camera);
        m_session.setVideoSink(&m_sink);
        // The sink may call from the capture thread; the copy is made there
        // and handed over synchronously under Qt's queued-signal rules.
        connect(&m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            m_latest = frame.toImage();
            emit frameReady();
        });
    }
    bool start() override
    {
        m_camera.start();
        return m_camera.error() == QCamera::NoError;
    }
    void stop() override { m_camera.stop(); }
    QImage latestFrame() const override { return m_latest; }

private:
    QCamera m_camera;
    QVideoSink m_sink;
    QMediaCaptureSession m_session;
    QImage m_latest;
};

} // namespace

bool QtPlatform::message(QWidget *parent, MessageKind kind, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    switch (kind) {
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    case MessageKind::Notice:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

QString QtPlatform::openFileName(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString QtPlatform::saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &proposedName, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtPlatform::printDialog(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    return dialog.exec() == QDialog::Accepted;
}

void QtPlatform::shellOpen(const QString &command)
{
    QString target = command;
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = target.mid(1, target.size() - 2);
    QUrl url(target, QUrl::TolerantMode);
    if (url.scheme().isEmpty() || url.scheme().size() == 1) // a path, or a drive letter
        url = QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

std::unique_ptr<CaptureDevice> QtPlatform::openCaptureDevice(QObject *parent)
{
    if (QMediaDevices::videoInputs().isEmpty())
        return nullptr;
    return std::make_unique<CameraDevice>(parent);
}

QSize QtPlatform::screenSize() const
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return screen->size();
    return {1024, 768};
}

QDate QtPlatform::today() const
{
    return QDate::currentDate();
}
