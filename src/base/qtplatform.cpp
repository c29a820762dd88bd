#include "base/qtplatform.h"

#include "base/camerabackend.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLibrary>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {

// The program's capture device over the camera module's backend.
class CameraDevice : public CaptureDevice
{
public:
    CameraDevice(CameraBackendFactory factory, QObject *parent) : CaptureDevice(parent)
    {
        m_backend.reset(factory([this] { emit frameReady(); }));
    }
    bool isOpen() const { return m_backend != nullptr; }
    bool start() override { return m_backend->start(); }
    void stop() override { m_backend->stop(); }
    QImage latestFrame() const override { return m_backend->latestFrame(); }

private:
    std::unique_ptr<CameraBackend> m_backend;
};

} // namespace

bool QtPlatform::message(QWidget *parent, MessageKind kind, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationName());
    // Messages quote names and files as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
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

Platform::Answer QtPlatform::ask(QWidget *parent, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationName());
    box.setIcon(QMessageBox::Question);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    // S, N and A (alone or with Alt) answer, as in every other program.
    QPushButton *yes = box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("&Annulla"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
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

QString QtPlatform::folderName(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

std::unique_ptr<QPrinter> QtPlatform::openDefaultPrinter()
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        return nullptr;
    QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (chosen.isNull())
        chosen = printers.first();
    return std::make_unique<QPrinter>(chosen, QPrinter::HighResolution);
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
    const CameraBackendFactory factory = CameraModule::factory();
    if (!factory)
        return nullptr;
    auto device = std::make_unique<CameraDevice>(factory, parent);
    if (!device->isOpen())
        return nullptr;
    return device;
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

namespace CameraModule {

CameraBackendFactory factory()
{
    static const CameraBackendFactory loaded = [] {
        // Beside the executable only, the way the program folder is laid out.
        // Stays loaded for the rest of the run: devices made by it live on.
        QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/lumetra_camera"));
        if (module.load())
            if (auto entry = reinterpret_cast<CameraBackendFactory>(module.resolve(LUMETRA_CAMERA_FACTORY)))
                return entry;
        return CameraBackendFactory(nullptr);
    }();
    return loaded;
}

} // namespace CameraModule
