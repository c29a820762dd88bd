#pragma once

#include "base/platform.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>

// The seam as tests drive it: records every message box and answers dialogs
// from scripted queues. An unscripted dialog answers "cancel".
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
    QQueue<bool> confirmAnswers;     // default yes
    // Answers to ask(), whose texts are recorded in `questions` (not in
    // `messages`). Default No: go on without saving.
    QQueue<Answer> askAnswers;
    bool printAccept = true;
    QString printToPdf;              // when set, an accepted print goes to this PDF file
    QSize screen{1280, 1024};
    QDate date{2026, 12, 8};
    // Called with the printer when the print dialog is accepted, for tests that
    // pick pages or copies as the operator would.
    std::function<void(QPrinter *)> onPrint;

    // Convenience for assertions.
    QString lastText() const { return messages.isEmpty() ? QString() : messages.constLast().text; }
    MessageKind lastKind() const { return messages.constLast().kind; }
    void clear() { messages.clear(); opened.clear(); questions.clear(); }
};
