// The lock that keeps workstations from writing the same file at once: it is
// waited for while someone else holds it, and a file system without byte-range
// locks must not turn every save into a failure.
#include "archive/filelock.h"
#include "archive/recordfile.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "tempfolder.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace {

// The scripted answers of the lock call; the last one repeats.
QVector<int> answers;
int calls = 0;

int scriptedLockCall(int, long long)
{
    const int answer = answers.at(qMin(calls, int(answers.size()) - 1));
    ++calls;
    return answer;
}

void script(const QVector<int> &list)
{
    answers = list;
    calls = 0;
    FileLock::setLockCall(&scriptedLockCall);
}

QByteArray card(const QString &name)
{
    StudentRecord record;
    record[StudentRecord::Studente] = name;
    return record.encode();
}

} // namespace

class TestFileLock : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { FileLock::setLockCall(nullptr); }
    void answersOfTheLockCall_data();
    void answersOfTheLockCall();
    void savesWithoutLockSupport_data();
    void savesWithoutLockSupport();
    void lockHeldElsewhereIsWaitedFor();
    void waiterInLineGoesFirst();
};

void TestFileLock::answersOfTheLockCall_data()
{
    QTest::addColumn<QVector<int>>("answers");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("unsupported");
    QTest::addColumn<bool>("waitsForTimeout");

    QTest::newRow("taken at once") << QVector<int>{0} << true << false << false;
    QTest::newRow("held, then released") << QVector<int>{EAGAIN, EACCES, EAGAIN, 0} << true << false << false;
    QTest::newRow("interrupted, then taken") << QVector<int>{EINTR, 0} << true << false << false;
    QTest::newRow("held for the whole wait (EAGAIN)") << QVector<int>{EAGAIN} << false << false << true;
    QTest::newRow("held for the whole wait (EACCES)") << QVector<int>{EACCES} << false << false << true;
    QTest::newRow("no lock service (ENOLCK)") << QVector<int>{ENOLCK} << false << true << false;
    QTest::newRow("locks not supported (EOPNOTSUPP)") << QVector<int>{EOPNOTSUPP} << false << true << false;
    QTest::newRow("lock call refused (EINVAL)") << QVector<int>{EINVAL} << false << true << false;
    QTest::newRow("held, then the share drops locks") << QVector<int>{EAGAIN, ENOLCK} << false << true << false;
}

void TestFileLock::answersOfTheLockCall()
{
    QFETCH(QVector<int>, answers);
    QFETCH(bool, locked);
    QFETCH(bool, unsupported);
    QFETCH(bool, waitsForTimeout);

    TempFolder folder;
    QFile file(folder.path(QStringLiteral("data.pro")));
    QVERIFY(file.open(QIODevice::ReadWrite));
    script(answers);
    const int timeoutMs = 300;
    QElapsedTimer clock;
    clock.start();
    FileLock lock(file.handle(), timeoutMs);
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(lock.isLocked(), locked);
    QCOMPARE(lock.isUnsupported(), unsupported);
    QCOMPARE(lock.mayWrite(), locked || unsupported);
    if (waitsForTimeout)
        QVERIFY2(elapsed >= timeoutMs, qPrintable(QString::number(elapsed)));
    else
        QVERIFY2(elapsed < timeoutMs, qPrintable(QString::number(elapsed)));
    if (unsupported)
        QCOMPARE(calls, int(answers.size())); // no further attempts once refused
}

void TestFileLock::savesWithoutLockSupport_data()
{
    QTest::addColumn<int>("error");
    QTest::newRow("ENOLCK") << ENOLCK;
    QTest::newRow("EOPNOTSUPP") << EOPNOTSUPP;
    QTest::newRow("EINVAL") << EINVAL;
}

// What the operator sees: Salva stores the card at once, as it did before
// locks existed, instead of failing after the lock timeout.
void TestFileLock::savesWithoutLockSupport()
{
    QFETCH(int, error);
    TempFolder folder;
    const QString path = StudentFiles::archivePath(folder.folder);
    script({error});
    QElapsedTimer clock;
    clock.start();
    RecordFile file(path, StudentRecord::Size);
    file.open();
    QCOMPARE(file.append(card(QStringLiteral("Uno"))), 1);
    QCOMPARE(file.append(card(QStringLiteral("Due"))), 2);
    file.write(0, card(QStringLiteral("Uno bis")));
    file.close();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

    const QByteArray bytes = folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
    QCOMPARE(bytes.size(), 2 * StudentRecord::Size);
    QCOMPARE(StudentRecord::decode(bytes.left(StudentRecord::Size))[StudentRecord::Studente],
             QStringLiteral("Uno bis"));
    QCOMPARE(StudentRecord::decode(bytes.mid(StudentRecord::Size))[StudentRecord::Studente],
             QStringLiteral("Due"));
}

// The real lock call: another open file (another workstation) holding the
// lock makes a save wait and then fail, never write unlocked.
void TestFileLock::lockHeldElsewhereIsWaitedFor()
{
    TempFolder folder;
    const QString path = StudentFiles::archivePath(folder.folder);
    QFile other(path);
    QVERIFY(other.open(QIODevice::ReadWrite));
    auto holder = std::make_unique<FileLock>(other.handle());
    QVERIFY(holder->isLocked());

    QFile mine(path);
    QVERIFY(mine.open(QIODevice::ReadWrite));
    {
        QElapsedTimer clock;
        clock.start();
        FileLock waiting(mine.handle(), 200);
        QVERIFY(!waiting.mayWrite());
        QVERIFY(!waiting.isUnsupported());
        QVERIFY(clock.elapsed() >= 200);
    }

    RecordFile file(path, StudentRecord::Size);
    file.open();
    QVERIFY_THROWS_EXCEPTION(FileAccessError, file.append(card(QStringLiteral("Uno"))));
    QCOMPARE(QFileInfo(path).size(), 0);

    holder.reset();
    QCOMPARE(file.append(card(QStringLiteral("Uno"))), 1);
    file.close();
}

// A workstation that saves again right after saving must not take the lock
// back from one that has been waiting: the waiter holds the gate byte, and
// nobody passes it, even with the lock itself free.
void TestFileLock::waiterInLineGoesFirst()
{
#ifdef Q_OS_LINUX
    TempFolder folder;
    const QString path = StudentFiles::archivePath(folder.folder);
    QFile waiter(path);
    QVERIFY(waiter.open(QIODevice::ReadWrite));
    struct flock gate = {};
    gate.l_type = F_WRLCK;
    gate.l_whence = SEEK_SET;
    gate.l_start = off_t(FileLock::GateOffset);
    gate.l_len = 1;
    QCOMPARE(::fcntl(waiter.handle(), F_OFD_SETLK, &gate), 0);

    QFile again(path);
    QVERIFY(again.open(QIODevice::ReadWrite));
    {
        FileLock late(again.handle(), 200);
        QVERIFY(!late.mayWrite());
    }
    gate.l_type = F_UNLCK;
    QCOMPARE(::fcntl(waiter.handle(), F_OFD_SETLK, &gate), 0);
    FileLock next(again.handle(), 200);
    QVERIFY(next.isLocked());
#else
    QSKIP("needs open-file-description locks");
#endif
}

QTEST_GUILESS_MAIN(TestFileLock)
#include "test_filelock.moc"
