#pragma once

#include <QDate>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;

// A video source delivering frames; the program's one is the default camera.
class CaptureDevice : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool start() = 0;
    virtual void stop() = 0;
    // The latest frame delivered, null before the first one.
    virtual QImage latestFrame() const = 0;
signals:
    void frameReady();
};

// Everything a test cannot drive for real goes through here: message boxes,
// file and print dialogs, the printers, shell open, the camera, the screen and
// the date.
class Platform
{
public:
    enum class MessageKind { Warning, Error, Information, Confirmation, Notice };
    enum class Answer { Yes, No, Cancel };

    virtual ~Platform() = default;

    // Warning, Error and Information show OK/Cancel, Confirmation Yes/No,
    // Notice OK alone. Returns true for OK or Yes.
    virtual bool message(QWidget *parent, MessageKind kind, const QString &text) = 0;

    // A question box with Sì, No and Annulla (Esc and the close box answer
    // Annulla). A seam without one asks a confirmation (Yes/No) instead.
    virtual Answer ask(QWidget *parent, const QString &text)
    {
        return message(parent, MessageKind::Confirmation, text) ? Answer::Yes : Answer::No;
    }

    // Qt-style filter ("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)").
    // Empty result: cancelled.
    virtual QString openFileName(QWidget *parent, const QString &title,
                                 const QString &filter) = 0;
    // Asks before overwriting; defaultSuffix is added to a name typed without one.
    virtual QString saveFileName(QWidget *parent, const QString &title,
                                 const QString &filter, const QString &proposedName,
                                 const QString &defaultSuffix) = 0;
    // A folder chosen in the folder dialog, starting at `start` (empty: the
    // dialog's own choice). Empty result: cancelled. A seam without one
    // answers cancelled.
    virtual QString folderName(QWidget *parent, const QString &title, const QString &start)
    {
        (void)parent, (void)title, (void)start;
        return {};
    }
    // A high-resolution printer on the system's default printer (the first one
    // when none is the default); null when the machine has no printer at all.
    virtual std::unique_ptr<QPrinter> openDefaultPrinter() = 0;
    // Shows the print dialog for printer; true when the operator pressed OK.
    virtual bool printDialog(QWidget *parent, QPrinter *printer) = 0;
    // Hands a path, web address or mailto: link to the desktop; result not checked.
    virtual void shellOpen(const QString &command) = 0;
    // Null when the machine has no camera.
    virtual std::unique_ptr<CaptureDevice> openCaptureDevice(QObject *parent) = 0;
    virtual QSize screenSize() const = 0;
    virtual QDate today() const = 0;

    void warning(QWidget *parent, const QString &text) { message(parent, MessageKind::Warning, text); }
    void error(QWidget *parent, const QString &text) { message(parent, MessageKind::Error, text); }
    void information(QWidget *parent, const QString &text) { message(parent, MessageKind::Information, text); }
    void notice(QWidget *parent, const QString &text) { message(parent, MessageKind::Notice, text); }
    bool confirm(QWidget *parent, const QString &text) { return message(parent, MessageKind::Confirmation, text); }
};
