#include "studentfixture.h"

#include "archive/datafolder.h"
#include "archive/studentarchive.h"
#include "fakeplatform.h"

#include <QDir>
#include <QProcess>
#include <QSet>

// Two workstations on one shared folder: this one duplicates a card and
// saves it while the other adds cards through its own mount of the same
// network volume. Both keep their cards; no number is given twice.
// The volume's two mounts come from LUMETRA_SHARED_MOUNTS ("first:second"),
// set by the test run when it could start one.
class TestStudentShared : public QObject
{
    Q_OBJECT
private slots:
    void duplicateAndSaveBesideAnotherWorkstation();
};

void TestStudentShared::duplicateAndSaveBesideAnotherWorkstation()
{
    const QStringList mounts = qEnvironmentVariable("LUMETRA_SHARED_MOUNTS").split(QLatin1Char(':'));
    if (mounts.size() != 2)
        QSKIP(qPrintable(qEnvironmentVariable("LUMETRA_SHARED_SKIP", QStringLiteral("no shared volume"))));
    const QString name = QStringLiteral("duplica_%1/").arg(QCoreApplication::applicationPid());
    const QString here = mounts[0] + QLatin1Char('/') + name;
    const QString there = mounts[1] + QLatin1Char('/') + name;
    QVERIFY(QDir().mkpath(here));
    DataFolder::add(here);
    {
        StudentArchive archive(here);
        for (int n = 1; n <= 5; ++n)
            archive.append(sampleCard(n));
        archive.close();
    }

    FakePlatform platform;
    AppContext context;
    context.folder = here;
    context.platform = &platform;
    TfrmStudenti window(context);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto click = [&window](const QString &button) {
        QTest::mouseClick(findControl<QWidget>(&window, button), Qt::LeftButton);
    };
    QLabel *position = findControl<QLabel>(&window, QStringLiteral("lblPosizione"));

    // The other workstation adds cards without pause through its mount
    // while this one saves, ten times over.
    QProcess other;
    other.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../core/archive/archive_appender"),
                {there + QStringLiteral("Archivio_Studenti.pro"), QStringLiteral("Altra postazione"),
                 QStringLiteral("400")});
    QVERIFY(other.waitForStarted());
    QList<qint64> saved;
    for (int round = 0; round < 10; ++round) {
        position->setText(QStringLiteral("3"));
        click(QStringLiteral("cmdAvanti")); // card 4
        click(QStringLiteral("cmdDuplica"));
        findControl<QLineEdit>(&window, QStringLiteral("txtNote"))->setText(QStringLiteral("copia %1").arg(round));
        click(QStringLiteral("cmdSalva"));
        QCOMPARE(platform.lastText(), QStringLiteral("La scheda corrente è stata inserita in archivio."));
        saved << position->text().toLongLong();
    }
    QVERIFY(other.waitForFinished(120000));
    QCOMPARE(other.exitCode(), 0);

    // Read through the other mount, as the other workstation sees it.
    StudentArchive archive(there);
    QCOMPARE(archive.count(), 5 + 10 + 400);
    QSet<QString> others;
    for (int round = 0; round < 10; ++round) {
        const StudentRecord card = archive.read(saved[round]);
        QCOMPARE(card[StudentRecord::Studente], sampleCard(4)[StudentRecord::Studente]);
        QCOMPARE(card[StudentRecord::Note], QStringLiteral("copia %1").arg(round));
    }
    for (qint64 number = 6; number <= archive.count(); ++number) {
        const QString student = archive.read(number)[StudentRecord::Studente];
        if (student.startsWith(QStringLiteral("Altra postazione")))
            others << student;
    }
    archive.close();
    QCOMPARE(others.size(), 400);
    QCOMPARE(QSet<qint64>(saved.begin(), saved.end()).size(), 10);
    DataFolder::remove(here);
    QDir(here).removeRecursively();
}

QTEST_MAIN(TestStudentShared)
#include "test_studentshared.moc"
