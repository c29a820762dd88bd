#include "studentfixture.h"

#include "search/tfrmtrovastudenti.h"

#include <QApplication>
#include <QTest>

// The card index from the keyboard alone: every toolbar action has a key,
// which does exactly what a click on its button does.
class TestStudentKeys : public QObject
{
    Q_OBJECT

private slots:
    void browsingKeys_data();
    void browsingKeys();
    void newAndSaveKeys();
    void findKeyOpensTheSearch();
    void keysAreShownAndNamed();
};

void TestStudentKeys::browsingKeys_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Alt+Home: first, from the third") << (Qt::ALT | Qt::Key_Home) << "3" << "1";
    QTest::newRow("Alt+End: last, from the first") << (Qt::ALT | Qt::Key_End) << "1" << "4";
    QTest::newRow("Alt+PgDn: next") << (Qt::ALT | Qt::Key_PageDown) << "2" << "3";
    QTest::newRow("Alt+PgUp: previous") << (Qt::ALT | Qt::Key_PageUp) << "2" << "1";
    QTest::newRow("Alt+PgDn on a new card: the first") << (Qt::ALT | Qt::Key_PageDown) << "" << "1";
}

void TestStudentKeys::browsingKeys()
{
    QFETCH(QKeyCombination, key);
    QFETCH(QString, from);
    QFETCH(QString, expected);
    StudentWindow w;
    writeArchive(w.folder, 4);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    if (!from.isEmpty())
        w.window->takeStudent(sampleCard(from.toInt()), from.toInt(), QImage());
    // The key works wherever the focus is among the fields.
    w.edit(StudentRecord::Note)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    QCOMPARE(w.label(QStringLiteral("lblPosizione"))->text(), expected);
    QCOMPARE(w.text(StudentRecord::Studente), sampleCard(expected.toInt())[StudentRecord::Studente]);
}

void TestStudentKeys::newAndSaveKeys()
{
    StudentWindow w;
    writeArchive(w.folder, 2);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    w.window->takeStudent(sampleCard(2), 2, QImage());

    QTest::keyClick(w.edit(StudentRecord::Note), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(w.label(QStringLiteral("lblPosizione"))->text(), QString());
    QCOMPARE(w.text(StudentRecord::Studente), QString());

    const StudentRecord card = sampleCard(7);
    for (int f = 0; f < StudentRecord::File01; ++f)
        w.edit(StudentRecord::Field(f))->setText(card[StudentRecord::Field(f)]);
    QTest::keyClick(w.edit(StudentRecord::Note), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.label(QStringLiteral("lblPosizione"))->text(), QStringLiteral("3"));
    QCOMPARE(w.folder.platform.lastText(), QStringLiteral("La scheda corrente è stata inserita in archivio."));
    QCOMPARE(archiveBytes(w.folder).size(), 3 * StudentRecord::Size);
}

void TestStudentKeys::findKeyOpensTheSearch()
{
    StudentWindow w;
    writeArchive(w.folder, 1);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    bool opened = false;
    whenModalShown<TfrmTrovaStudenti>([&](TfrmTrovaStudenti *dialog) {
        opened = true;
        dialog->reject();
    });
    QTest::keyClick(w.edit(StudentRecord::Studente), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(opened);
}

void TestStudentKeys::keysAreShownAndNamed()
{
    StudentWindow w;
    const struct { const char *control; const char *name; } buttons[] = {
        {"cmdSalva", "Salva la scheda in archivio."},
        {"cmdPrimo", "Visualizza la prima scheda in archivio."},
        {"cmdStampa", "Stampa la scheda."},
    };
    for (const auto &b : buttons) {
        QWidget *control = findControl<QWidget>(w.window, QString::fromLatin1(b.control));
        // A screen reader reads the button's hint, the tooltip adds its key.
        QCOMPARE(control->accessibleName(), QString::fromUtf8(b.name));
        QVERIFY2(control->toolTip().startsWith(QString::fromUtf8(b.name) + QStringLiteral(" (")),
                 qPrintable(control->toolTip()));
        QVERIFY(!control->accessibleDescription().isEmpty());
    }
}

QTEST_MAIN(TestStudentKeys)
#include "test_studentkeys.moc"
