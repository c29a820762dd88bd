#pragma once

#include "base/platform.h"

#include <QList>
#include <QMutex>
#include <QPointer>
#include <QQueue>
#include <QStringList>

#include <functional>

class FakeCaptureDevice;

// What a test sees of the fake camera, kept by the platform so that it
// outlives the device the window owns.
struct FakeCamera
{
    bool present = false;      // false: openCaptureDevice gives no device
    int opened = 0;            // devices handed out
    int starts = 0;
    int stops = 0;
    bool running = false;      // started and not stopped since
    QList<QThread *> readers;  // threads that asked for the latest frame
    QPointer<FakeCaptureDevice> device; // the last device handed out, while it lives
};

// A camera as a test drives it: frames come from deliver(), which may be
// called from any thread, as a capture layer calls.
class FakeCaptureDevice : public CaptureDevice
{
public:
    FakeCaptureDevice(FakeCamera *state, QObject *parent);
    bool start() override;
    void stop() override;
    QImage latestFrame() const override;

    // A new frame, signalled only while running (as a camera does).
    void deliver(const QImage &frame);
    // The camera goes away: it stops, delivers nothing and will not start.
    void unplug();

private:
    FakeCamera *m_state;
    mutable QMutex m_mutex;
    QImage m_frame;
    bool m_unplugged = false;
};

// The seam as tests drive it: records every message box and answers dialogs
// from scripted queues. An unscripted dialog answers "cancel". The machine has
// one printer, a PDF printer writing to printToPdf.
class FakePlatform : public Platform
{
public:
    struct Message
    {
        MessageKind kind;
        QString text;
    };

    bool message(QWidget *parent, MessageKind kind, const QString &text) override;
    Answer ask(QWidget *parent, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                         const QString &proposedName, const QString &defaultSuffix) override;
    QString folderName(QWidget *parent, const QString &title, const QString &start) override;
    std::unique_ptr<QPrinter> openDefaultPrinter() override;
    bool printDialog(QWidget *parent, QPrinter *printer) override;
    void shellOpen(const QString &command) override;
    std::unique_ptr<CaptureDevice> openCaptureDevice(QObject *parent) override;
    QSize screenSize() const override { return screen; }
    QDate today() const override { return date; }

    // Recorded.
    QList<Message> messages;
    QStringList opened;          // shellOpen arguments
    QStringList questions;       // texts of ask() boxes
    QStringList dialogTitles;    // titles of file dialogs shown
    QStringList proposedNames;   // proposed names of save dialogs
    int printDialogs = 0;

    // Scripted.
    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    QQueue<QString> folderAnswers;   // folder dialogs; their titles go to dialogTitles
    QQueue<bool> confirmAnswers;     // default yes
    // Answers to ask(), whose texts are recorded in `questions` (not in
    // `messages`). Default No: go on without saving.
    QQueue<Answer> askAnswers;
    bool printAccept = true;
    // The file the PDF printer writes; a job printed with none named cannot
    // start, as on a printer that is switched off.
    QString printToPdf;
    bool noPrinters = false;         // a machine without any printer
    bool systemPrinters = false;     // the system's own printers, for end-to-end print tests
    QSize screen{1280, 1024};
    QDate date{2026, 12, 8};
    // Called with the printer when the print dialog is accepted, for tests that
    // pick pages or copies as the operator would.
    std::function<void(QPrinter *)> onPrint;
    // Called while each message is "on screen", before it is answered.
    std::function<void(const Message &)> onMessage;
    FakeCamera camera;

    // Convenience for assertions.
    QString lastText() const { return messages.isEmpty() ? QString() : messages.constLast().text; }
    MessageKind lastKind() const { return messages.constLast().kind; }
    void clear() { messages.clear(); opened.clear(); questions.clear(); }
};
