#include "fakeplatform.h"

#include <QFileInfo>
#include <QPrinter>

bool FakePlatform::message(QWidget *, MessageKind kind, const QString &text)
{
    messages.append({kind, text});
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

bool FakePlatform::printDialog(QWidget *, QPrinter *printer)
{
    ++printDialogs;
    if (!printAccept)
        return false;
    if (!printToPdf.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printToPdf);
    }
    if (onPrint)
        onPrint(printer);
    return true;
}

void FakePlatform::shellOpen(const QString &command)
{
    opened.append(command);
}

std::unique_ptr<CaptureDevice> FakePlatform::openCaptureDevice(QObject *)
{
    return nullptr;
}
