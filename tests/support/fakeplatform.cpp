#include "fakeplatform.h"

#include "base/qtplatform.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <QPrinter>
#include <QThread>

bool FakePlatform::message(QWidget *, MessageKind kind, const QString &text)
{
    messages.append({kind, text});
    if (onMessage)
        onMessage(messages.constLast());
    if (kind == MessageKind::Confirmation)
        return confirmAnswers.isEmpty() ? true : confirmAnswers.dequeue();
    return true;
}

Platform::Answer FakePlatform::ask(QWidget *, const QString &text)
{
    questions.append(text);
    return askAnswers.isEmpty() ? Answer::No : askAnswers.dequeue();
}

QString FakePlatform::openFileName(QWidget *, const QString &title, const QString &)
{
    dialogTitles.append(title);
    return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
}

QString FakePlatform::folderName(QWidget *, const QString &title, const QString &)
{
    dialogTitles.append(title);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
}

QString FakePlatform::saveFileName(QWidget *, const QString &title, const QString &,
                                   const QString &proposedName, const QString &defaultSuffix)
{
    dialogTitles.append(title);
    proposedNames.append(proposedName);
    if (saveAnswers.isEmpty())
        return {};
    QString name = saveAnswers.dequeue();
    // As the real dialog does with a name typed without extension.
    if (!defaultSuffix.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QLatin1Char('.') + defaultSuffix;
    return name;
}

std::unique_ptr<QPrinter> FakePlatform::openDefaultPrinter()
{
    if (noPrinters)
        return nullptr;
    if (systemPrinters)
        return QtPlatform().openDefaultPrinter();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printToPdf);
    return printer;
}

bool FakePlatform::printDialog(QWidget *, QPrinter *printer)
{
    ++printDialogs;
    if (!printAccept)
        return false;
    if (onPrint)
        onPrint(printer);
    return true;
}

void FakePlatform::shellOpen(const QString &command)
{
    opened.append(command);
}

std::unique_ptr<CaptureDevice> FakePlatform::openCaptureDevice(QObject *parent)
{
    if (!camera.present)
        return nullptr;
    ++camera.opened;
    auto device = std::make_unique<FakeCaptureDevice>(&camera, parent);
    camera.device = device.get();
    return device;
}

FakeCaptureDevice::FakeCaptureDevice(FakeCamera *state, QObject *parent)
    : CaptureDevice(parent), m_state(state)
{
}

bool FakeCaptureDevice::start()
{
    QMutexLocker lock(&m_mutex);
    ++m_state->starts;
    if (m_unplugged)
        return false;
    m_state->running = true;
    return true;
}

void FakeCaptureDevice::stop()
{
    QMutexLocker lock(&m_mutex);
    ++m_state->stops;
    m_state->running = false;
}

QImage FakeCaptureDevice::latestFrame() const
{
    QMutexLocker lock(&m_mutex);
    m_state->readers.append(QThread::currentThread());
    return m_frame;
}

void FakeCaptureDevice::deliver(const QImage &frame)
{
    {
        QMutexLocker lock(&m_mutex);
        if (!m_state->running)
            return;
        m_frame = frame;
    }
    emit frameReady();
}

void FakeCaptureDevice::unplug()
{
    QMutexLocker lock(&m_mutex);
    m_unplugged = true;
    m_state->running = false;
}
