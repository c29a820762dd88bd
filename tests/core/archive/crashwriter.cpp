// Writes to a data folder without pause until it is killed, as a workstation
// that loses power would. Every version `v` it writes is self-consistent:
// each field of a card holds "<number>:<v>", the password is "PAROLA<v>",
// the photo is a solid colour of value v.
//   crash_writer FOLDER            appends cards, changes the password and
//                                  replaces a photo
//   crash_writer FOLDER rewrite    rewrites the first 8 cards in place, in
//                                  turn (adding them first when missing): the
//                                  kernel may stop such a write of 3389 bytes
//                                  at a page boundary when the process is
//                                  killed
//   crash_writer FOLDER batch      stores batches as an import does: each
//                                  rewrites the first 8 cards and appends
//                                  20 more, all of version v; it also kills
//                                  itself at random between two records of
//                                  a batch, where a power cut would leave
//                                  the batch in part
// FOLDER ends with '/'.
#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "settings/passwordcipher.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>

#include <csignal>
#include <cstdio>
#include <random>

namespace {

StudentRecord card(qint64 number, int version)
{
    StudentRecord record;
    const QString tag = QStringLiteral("%1:%2").arg(number).arg(version);
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        record[StudentRecord::Field(f)] = tag;
    return record;
}

} // namespace

constexpr qint64 kRewritten = 8;

int rewriteForever(const QString &folder)
{
    try {
        StudentArchive archive(folder);
        for (qint64 number = archive.count() + 1; number <= kRewritten; ++number)
            archive.append(card(number, 0));
        archive.close();
    } catch (const FileAccessError &) {
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    // Each writer starts its versions somewhere else, so that two writers
    // never store the same bytes.
    for (int version = int(QCoreApplication::applicationPid() % 1000) * 1000000;; ++version) {
        try {
            StudentArchive archive(folder);
            archive.rewrite(version % kRewritten + 1, card(version % kRewritten + 1, version));
            archive.close();
        } catch (const FileAccessError &) {
            return 1;
        }
    }
}

constexpr qint64 kBatchAppended = 20;

int batchForever(const QString &folder)
{
    try {
        StudentArchive archive(folder);
        std::vector<StudentRecord> first;
        for (qint64 number = archive.count() + 1; number <= kRewritten; ++number)
            first.push_back(card(number, 0));
        archive.storeBatch({}, {}, first, {});
        archive.close();
    } catch (const FileAccessError &) {
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    std::minstd_rand chance(unsigned(QCoreApplication::applicationPid()));
    for (int version = int(QCoreApplication::applicationPid() % 1000) * 1000000;; ++version) {
        try {
            StudentArchive archive(folder);
            const qint64 count = archive.count();
            std::vector<qint64> rewritten;
            for (qint64 number = 1; number <= kRewritten; ++number)
                rewritten.push_back(number);
            std::vector<StudentRecord> added;
            for (qint64 i = 1; i <= kBatchAppended; ++i)
                added.push_back(card(count + i, version));
            archive.storeBatch(
                rewritten, [version](qint64 number, const StudentRecord &) { return card(number, version); },
                added, [&chance](qint64, qint64) {
                    if (chance() % 40 == 0)
                        ::raise(SIGKILL);
                    return true;
                });
            archive.close();
        } catch (const FileAccessError &) {
            return 1;
        }
    }
}

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[2]) == "batch") {
        QCoreApplication app(argc, argv);
        return batchForever(QString::fromLocal8Bit(argv[1]));
    }
    if (argc == 3 && QByteArray(argv[2]) == "rewrite") {
        QCoreApplication app(argc, argv);
        return rewriteForever(QString::fromLocal8Bit(argv[1]));
    }
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int version = 1;; ++version) {
        try {
            StudentArchive archive(folder);
            const qint64 count = archive.count();
            archive.append(card(count + 1, version));
            archive.close();
        } catch (const FileAccessError &) {
            return 1;
        }
        if (version % 3 == 0 && !PasswordStore::writePassword(folder, QStringLiteral("PAROLA%1").arg(version)))
            return 1;
        if (version % 5 == 0) {
            QImage photo(64, 80, QImage::Format_RGB32);
            photo.fill(QColor(version % 256, 0, 0));
            if (!StudentFiles::saveStudentPhoto(folder, QStringLiteral("1"), photo))
                return 1;
        }
    }
}
