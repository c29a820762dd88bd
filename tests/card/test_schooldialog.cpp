// The school data dialog on its own: opening state, the Enter key, and what
// goes back to its opener.
#include "testutil.h"

#include "base/forms.h"
#include "card/tfrmdatiente.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Records what the dialog hands back.
struct Receiver : SchoolTextsTarget
{
    QList<SchoolTexts> received;
    void takeSchoolTexts(const SchoolTexts &texts) override { received.append(texts); }
};

const QStringList kEdits{"txtAssociazione", "txtSottotitolo01", "txtSottotitolo02", "txtAnnotazioni"};
const QStringList kHighlights{"effAssociazione", "effSottotitolo01", "effSottotitolo02", "effAnnotazioni"};

} // namespace

class TestSchoolDialog : public QObject
{
    Q_OBJECT

private slots:
    void opening();
    void layout();
    void enterGoesRoundAndNeverConfirms();
    void highlightFollowsTheFocus();
    void confirm_data();
    void confirm();
};

void TestSchoolDialog::opening()
{
    TestFolder folder;
    Receiver receiver;
    TfrmDatiEnte dialog(folder.context, nullptr, &receiver);
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Dati Scuola"));
    QCOMPARE(findControl<QLabel>(&dialog, QStringLiteral("lblMemory"))->text(), QStringLiteral("lblMemory"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    dialog.setSchoolTexts({QStringLiteral("Istituto"), QStringLiteral("Via"), QStringLiteral("Tel"), QString()});

    QVERIFY(showActive(dialog));

    QCOMPARE(dialog.size(), QSize(737, 363));
    QCOMPARE(dialog.focusWidget(), findControl<QLineEdit>(&dialog, QStringLiteral("txtAssociazione")));
    QVERIFY(findControl<QWidget>(&dialog, QStringLiteral("effAssociazione"))->isVisible());
    for (int i = 1; i < 4; ++i)
        QVERIFY(!findControl<QWidget>(&dialog, kHighlights[i])->isVisible());
    QCOMPARE(findControl<QLineEdit>(&dialog, QStringLiteral("txtSottotitolo02"))->text(), QStringLiteral("Tel"));
    QVERIFY(!findControl<QLabel>(&dialog, QStringLiteral("lblMemory"))->isVisible());
}

void TestSchoolDialog::layout()
{
    TestFolder folder;
    TfrmDatiEnte dialog(folder.context);
    QVERIFY(showActive(dialog));
    const QList<QPair<const char *, QRect>> controls = {
        {"bkgHeader", QRect(16, 18, 671, 31)},          {"shpCornice", QRect(16, 55, 168, 184)},
        {"imgFoto", QRect(22, 60, 157, 174)},           {"shpSfondoTitoli", QRect(193, 56, 493, 129)},
        {"shpSfondoAnnotazioni", QRect(193, 190, 493, 49)}, {"effAssociazione", QRect(203, 66, 474, 30)},
        {"effSottotitolo01", QRect(203, 105, 474, 30)}, {"effSottotitolo02", QRect(203, 144, 474, 30)},
        {"effAnnotazioni", QRect(203, 200, 474, 30)},   {"txtAssociazione", QRect(207, 70, 466, 22)},
        {"txtSottotitolo01", QRect(207, 109, 466, 22)}, {"txtSottotitolo02", QRect(207, 148, 466, 22)},
        {"txtAnnotazioni", QRect(207, 204, 466, 22)},   {"bkgFooter", QRect(16, 250, 671, 58)},
        {"btnAnnulla", QRect(388, 263, 138, 32)},       {"btnApplica", QRect(536, 263, 138, 32)},
    };
    QWidget *panel = findControl<QWidget>(&dialog, QStringLiteral("panContainer"));
    QCOMPARE(panel->size(), QSize(703, 327));
    for (const auto &[name, geometry] : controls) {
        QWidget *control = findControl<QWidget>(&dialog, QString::fromLatin1(name));
        QCOMPARE(control->mapTo(panel, QPoint(0, 0)), geometry.topLeft());
        QCOMPARE(control->size(), geometry.size());
    }
    QCOMPARE(findControl<QPushButton>(&dialog, QStringLiteral("btnApplica"))->text(),
             QStringLiteral("Applica e chiudi"));
    QCOMPARE(findControl<QLabel>(&dialog, QStringLiteral("lblIstruzioni"))->text(),
             QStringLiteral("Inserire i dati e fare clic su Applica e chiudi per salvare le modifiche."));
}

void TestSchoolDialog::enterGoesRoundAndNeverConfirms()
{
    TestFolder folder;
    Receiver receiver;
    TfrmDatiEnte dialog(folder.context, nullptr, &receiver);
    Forms::setModeTag(&dialog, QStringLiteral("tessera"));
    QVERIFY(showActive(dialog));

    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 4; ++i) {
            QWidget *focused = dialog.focusWidget();
            QCOMPARE(focused->objectName(), kEdits[i]);
            QTest::keyClick(focused, Qt::Key_Return);
        }
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Enter);
    QCOMPARE(dialog.focusWidget()->objectName(), kEdits[1]);
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);

    QVERIFY(dialog.isVisible());
    QVERIFY(receiver.received.isEmpty());
    // Tab goes the same way, then on to the two buttons.
    auto *last = findControl<QLineEdit>(&dialog, kEdits[3]);
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Tab);
    QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("btnAnnulla"));
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
    QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("btnApplica"));
}

void TestSchoolDialog::highlightFollowsTheFocus()
{
    TestFolder folder;
    TfrmDatiEnte dialog(folder.context);
    QVERIFY(showActive(dialog));
    for (int i : {2, 0, 3, 1}) {
        findControl<QLineEdit>(&dialog, kEdits[i])->setFocus();
        for (int j = 0; j < 4; ++j)
            QTRY_COMPARE(findControl<QWidget>(&dialog, kHighlights[j])->isVisible(), i == j);
    }
}

void TestSchoolDialog::confirm_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("handedBack");

    QTest::newRow("tessera, apply") << "tessera" << "btnApplica" << true;
    QTest::newRow("tessera with blanks, apply") << "  tessera " << "btnApplica" << true;
    QTest::newRow("tessera, cancel") << "tessera" << "btnAnnulla" << false;
    QTest::newRow("design text, apply") << "lblMemory" << "btnApplica" << false;
    QTest::newRow("other case, apply") << "Tessera" << "btnApplica" << false;
    QTest::newRow("student window's word, apply") << "studenti" << "btnApplica" << false;
}

void TestSchoolDialog::confirm()
{
    QFETCH(QString, mode);
    QFETCH(QString, button);
    QFETCH(bool, handedBack);

    TestFolder folder;
    Receiver receiver;
    TfrmDatiEnte dialog(folder.context, nullptr, &receiver);
    if (mode != QLatin1String("lblMemory"))
        Forms::setModeTag(&dialog, mode);
    dialog.setSchoolTexts(SchoolData::defaults());
    QVERIFY(showActive(dialog));
    const QStringList typed{"  Istituto Volta ", "", "\tTel. 06 123", " Nota "};
    for (int i = 0; i < 4; ++i)
        findControl<QLineEdit>(&dialog, kEdits[i])->setText(typed[i]);

    QTest::mouseClick(findControl<QPushButton>(&dialog, button), Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), button == QLatin1String("btnApplica") ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(receiver.received.size(), handedBack ? 1 : 0);
    if (handedBack) {
        const SchoolTexts expected{QStringLiteral("Istituto Volta"), QString(), QStringLiteral("Tel. 06 123"),
                                   QStringLiteral("Nota")};
        QVERIFY(receiver.received.first() == expected);
    }
    QVERIFY(folder.platform.messages.isEmpty());
}

QTEST_MAIN(TestSchoolDialog)
#include "test_schooldialog.moc"
