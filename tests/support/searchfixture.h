#pragma once

#include "archive/studentrecord.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <initializer_list>

// A student card with only the given fields set.
inline StudentRecord card(std::initializer_list<QPair<StudentRecord::Field, QString>> fields)
{
    StudentRecord record;
    for (const auto &field : fields)
        record[field.first] = field.second;
    return record;
}

// The archive holding exactly these cards, in this order, plus `tail` bytes.
inline void writeArchive(const QString &path, const QList<StudentRecord> &cards,
                         const QByteArray &tail = QByteArray())
{
    QByteArray bytes;
    for (const StudentRecord &record : cards)
        bytes += record.encode();
    bytes += tail;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test archive %s", qPrintable(path));
}
