// A workstation saving student cards in a shared data folder, each save one
// action of its own (open, write, close):
//   shared_writer FOLDER/ TAG SAVES NEW_PERCENT [MAX_PAUSE_MS]
// A save adds card "<tag> <i>" (SharedCard) with the share NEW_PERCENT, and
// otherwise rewrites one of the cards it added before, picked at random, with
// the card's next version. After each save one line on stdout:
//   new <number> <i>                   the number append() returned
//   rewrite <number> <i> <version>
//   failed new <i>                     the save threw FileAccessError
//   failed rewrite <number> <i> <version>
// A failed save is no reason to stop: the user would save again.
// NEW_PERCENT -1: each save is an import instead, 20 new cards stored as one
// batch, and every other one is stopped after 10 and taken back; a stored
// batch prints "new" for each of its cards, a stopped one nothing.
#include "archive/datafolder.h"
#include "archive/studentarchive.h"
#include "sharedcard.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

struct Card
{
    qint64 number;
    int index;
    int version;
};

void report(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 5 && argc != 6)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString tag = QString::fromLocal8Bit(argv[2]);
    const int saves = QByteArray(argv[3]).toInt();
    const int newPercent = QByteArray(argv[4]).toInt();
    const int maxPause = argc == 6 ? QByteArray(argv[5]).toInt() : 0;
    DataFolder::add(folder);

    std::mt19937 random(unsigned(std::hash<std::string>{}(tag.toStdString())));
    std::vector<Card> cards;
    int nextIndex = 0;
    for (int save = 0; save < saves; ++save) {
        if (maxPause > 0)
            QThread::msleep(random() % unsigned(maxPause + 1));
        if (newPercent < 0) {
            constexpr int kBatch = 20;
            const bool stop = save % 2 == 1;
            const int first = nextIndex;
            nextIndex += kBatch;
            std::vector<StudentRecord> added;
            for (int i = 0; i < kBatch; ++i)
                added.push_back(SharedCard::card(tag, first + i, 0));
            try {
                StudentArchive archive(folder);
                const qint64 number = archive.storeBatch(
                    {}, {}, added, [stop](qint64 done, qint64) { return !stop || done < kBatch / 2; });
                archive.close();
                if (number > 0)
                    for (int i = 0; i < kBatch; ++i)
                        report(QStringLiteral("new %1 %2").arg(number + i).arg(first + i));
            } catch (const FileAccessError &error) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(tag), error.what());
                for (int i = 0; i < kBatch; ++i)
                    report(QStringLiteral("failed new %1").arg(first + i));
            }
            continue;
        }
        const bool add = cards.empty() || int(random() % 100) < newPercent;
        Card *old = add ? nullptr : &cards[random() % cards.size()];
        const int index = add ? nextIndex++ : old->index;
        const int version = add ? 0 : old->version + 1;
        try {
            StudentArchive archive(folder);
            if (add) {
                const qint64 number = archive.append(SharedCard::card(tag, index, version));
                archive.close();
                cards.push_back({number, index, version});
                report(QStringLiteral("new %1 %2").arg(number).arg(index));
            } else {
                // The version counts even when the save fails, so that each
                // version names one content.
                old->version = version;
                archive.rewrite(old->number, SharedCard::card(tag, index, version));
                archive.close();
                report(QStringLiteral("rewrite %1 %2 %3").arg(old->number).arg(index).arg(version));
            }
        } catch (const FileAccessError &error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(tag), error.what());
            report(add ? QStringLiteral("failed new %1").arg(index)
                       : QStringLiteral("failed rewrite %1 %2 %3").arg(old->number).arg(index).arg(version));
        }
    }
    return 0;
}
