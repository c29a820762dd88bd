#pragma once

#include "base/platform.h"

// The seam as the program uses it: real dialogs, the system's printers, the
// desktop and the camera.
class QtPlatform : public Platform
{
public:
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
    QSize screenSize() const override;
    QDate today() const override;
};
