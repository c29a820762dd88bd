#pragma once

#include "settings/passwordcipher.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include "lockedfile.h"

// A store file as the program ships it, CRLF lines.
inline QByteArray storeWith(const QString &password)
{
    return "[Accesso]\r\nValore=" + EncodePassword(PasswordStore::normalise(password)).toLatin1() + "\r\n";
}

#include <QTest>

// Types text as the operator would, letters beyond ASCII included.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(widget, char(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}
