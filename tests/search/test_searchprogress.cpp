// A search that takes a while: the window keeps answering, shows how far the
// search has come and can stop it, and when the search ends it is left as a
// search that blocked it would have left it.
#include "search/searchrunner.h"
#include "search/tfrmtrovastudenti.h"

#include "archive/studentfiles.h"
#include "searchfixture.h"
#include "testutil.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

using R = StudentRecord;

class TestSearchProgress : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void stopKeepsTheFilterPanel();
    void closingDuringSearchTakesNothing();
    void eventsAreHandledWhileTheArchiveIsScanned();

private:
    // A shown window over an archive of 3,000 cards, with its progress due
    // at once; `onStart` runs as the search gets going.
    std::unique_ptr<TfrmTrovaStudenti> openSearch(const std::function<void(TfrmTrovaStudenti *)> &onStart)
    {
        auto window = std::make_unique<TfrmTrovaStudenti>(m_folder->context);
        window->setProgressDelayMs(0);
        auto *runner = window->findChild<SearchRunner *>();
        TfrmTrovaStudenti *w = window.get();
        connect(runner, &SearchRunner::progressed, w, [w, onStart, started = false]() mutable {
            if (!started) {
                started = true;
                onStart(w);
            }
        });
        if (!showActive(*window))
            qWarning("search window not active");
        return window;
    }
    static void cerca(QWidget *window)
    {
        QTest::mouseClick(findControl<QPushButton>(window, QStringLiteral("btnCerca")), Qt::LeftButton);
    }
    static bool shown(QWidget *window, const char *name)
    {
        return findControl<QWidget>(window, QString::fromLatin1(name))->isVisible();
    }

    std::unique_ptr<TestFolder> m_folder;
};

void TestSearchProgress::init()
{
    m_folder = std::make_unique<TestFolder>();
    QList<StudentRecord> cards;
    for (int i = 0; i < 3000; ++i)
        cards << card({{R::Studente, QStringLiteral("Studente %1").arg(i % 700)}, {R::Corso, "Grafica"}});
    writeArchive(StudentFiles::archivePath(m_folder->context.folder), cards);
}

void TestSearchProgress::stopKeepsTheFilterPanel()
{
    bool progressShown = false;
    auto window = openSearch([&progressShown](TfrmTrovaStudenti *w) {
        progressShown = shown(w, "prgRicerca") && shown(w, "btnInterrompi") && shown(w, "lblAttendere")
                     && !shown(w, "btnCerca");
        QTest::mouseClick(findControl<QPushButton>(w, QStringLiteral("btnInterrompi")), Qt::LeftButton);
    });
    findControl<QLineEdit>(window.get(), "txtCorso")->setText("graf");
    QSignalSpy finished(window.get(), &StudentSearchWindow::searchFinished);
    cerca(window.get());
    QVERIFY(progressShown);
    QCOMPARE(finished.size(), 1);

    // Nothing listed, the filter panel as it was, Cerca back in its place.
    QCOMPARE(window->results().size(), 0);
    QVERIFY(shown(window.get(), "panAvvio"));
    QVERIFY(!shown(window.get(), "panContainer"));
    for (const char *gone : {"lblAttendere", "prgRicerca", "btnInterrompi"})
        QVERIFY2(!shown(window.get(), gone), gone);
    QVERIFY(shown(window.get(), "btnCerca"));
    QCOMPARE(QApplication::focusWidget(), findControl<QWidget>(window.get(), "btnCerca"));
    QCOMPARE(findControl<QLineEdit>(window.get(), "txtCorso")->text(), QStringLiteral("graf"));
    QCOMPARE(findControl<QLabel>(window.get(), "lblConta")->text(), QStringLiteral("1"));
    QVERIFY(m_folder->platform.messages.isEmpty());

    // The next search runs to its end and lists as always.
    window->setProgressDelayMs(60000);
    cerca(window.get());
    QCOMPARE(finished.size(), 2);
    QCOMPARE(window->results().size(), 3000);
    QVERIFY(!shown(window.get(), "panAvvio"));
    QVERIFY(shown(window.get(), "panContainer"));
    QCOMPARE(findControl<QLabel>(window.get(), "lblTrovate")->text(),
             QStringLiteral("Il presente riepilogo contiene 3000 schede"));
    QCOMPARE(QApplication::focusWidget(), findControl<QWidget>(window.get(), "txtTrova"));
    QVERIFY(findControl<QListView>(window.get(), "lstRecords")->model()->index(0, 0).data().toString()
                .startsWith(QStringLiteral("Studente 0   ")));
}

void TestSearchProgress::closingDuringSearchTakesNothing()
{
    auto window = openSearch([](TfrmTrovaStudenti *w) { w->reject(); });
    cerca(window.get());
    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), int(QDialog::Rejected));
    QCOMPARE(window->results().size(), 0);
    QVERIFY(!findControl<QLabel>(window.get(), "lblAttendere")->isVisibleTo(window.get()));
    QVERIFY(m_folder->platform.messages.isEmpty());
}

void TestSearchProgress::eventsAreHandledWhileTheArchiveIsScanned()
{
    // Posted before the click, handled before Cerca returns: the window's
    // events flow while the search runs.
    bool ranDuringSearch = false;
    std::unique_ptr<TfrmTrovaStudenti> window = openSearch([](TfrmTrovaStudenti *) {});
    window->setProgressDelayMs(60000);
    QMetaObject::invokeMethod(
        window.get(),
        [&] { ranDuringSearch = window->findChild<SearchRunner *>()->isRunning(); }, Qt::QueuedConnection);
    cerca(window.get());
    QVERIFY(ranDuringSearch);
    QCOMPARE(window->results().size(), 3000);
    // Over before its delay, a search shows no progress.
    QVERIFY(!shown(window.get(), "prgRicerca"));
}

QTEST_MAIN(TestSearchProgress)
#include "test_searchprogress.moc"
