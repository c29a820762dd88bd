#include "testutil.h"

#include "app/tfrmcambiapassword.h"
#include "app/tfrminfo.h"
#include "app/tfrmpassword.h"
#include "card/tfrmdatiente.h"
#include "card/tfrmstampatessera.h"
#include "card/tfrmtessera.h"
#include "checks/tfrmcodfisc.h"
#include "checks/tfrmpartitaiva.h"
#include "help/tfrmguida.h"
#include "media/tfrmallegacartella.h"
#include "register/tfrmprove_sostenute.h"
#include "search/tfrmtrovastudenti.h"
#include "students/tfrmstudenti.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>

namespace {

using Factory = std::function<QWidget *(const AppContext &)>;

template<typename T>
Factory make()
{
    return [](const AppContext &context) -> QWidget * { return new T(context); };
}

// The Motif hints the window manager reads from a shown window: flags,
// functions, decorations.
QList<quint32> motifHints(QWidget *window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("_MOTIF_WM_HINTS")});
    if (!xprop.waitForFinished(10000))
        return {};
    const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
    QList<quint32> values;
    const QRegularExpression number(QStringLiteral("(0x[0-9a-fA-F]+|\\d+)"));
    const qsizetype equals = out.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {};
    for (const QRegularExpressionMatch &m : number.globalMatch(out.mid(equals)))
        values.append(m.captured(1).toUInt(nullptr, 0));
    return values;
}

constexpr quint32 MotifFunctions = 1;
constexpr quint32 FunctionAll = 0x01, FunctionMinimise = 0x08, FunctionMaximise = 0x10, FunctionClose = 0x20;

} // namespace

Q_DECLARE_METATYPE(Factory)

// The fixed dialogs ask the window manager for a title bar without minimise,
// maximise and close buttons; the working windows keep theirs.
class TestWindowFrames : public QObject
{
    Q_OBJECT

private slots:
    void fixedDialogsHaveABareTitle_data();
    void fixedDialogsHaveABareTitle();
    void workingWindowsKeepTheirButtons_data();
    void workingWindowsKeepTheirButtons();
};

void TestWindowFrames::fixedDialogsHaveABareTitle_data()
{
    QTest::addColumn<Factory>("create");
    QTest::newRow("login") << make<TfrmPassword>();
    QTest::newRow("password change") << make<TfrmCambiaPassword>();
    QTest::newRow("about") << make<TfrmInfo>();
    QTest::newRow("guide") << make<TfrmGuida>();
    QTest::newRow("tax code check") << make<TfrmCodFisc>();
    QTest::newRow("VAT number check") << make<TfrmPartitaIva>();
    QTest::newRow("school data") << make<TfrmDatiEnte>();
    QTest::newRow("card print") << make<TfrmStampaTessera>();
    QTest::newRow("attachments") << make<TfrmAllegaCartella>();
    QTest::newRow("tests register") << make<TfrmProve_Sostenute>();
    QTest::newRow("search") << make<TfrmTrovaStudenti>();
}

void TestWindowFrames::fixedDialogsHaveABareTitle()
{
    QFETCH(Factory, create);
    TestFolder folder;
    std::unique_ptr<QWidget> window(create(folder.context));
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    for (Qt::WindowType button : {Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
                                  Qt::WindowMaximizeButtonHint, Qt::WindowCloseButtonHint})
        QVERIFY2(!flags.testFlag(button), qPrintable(QString::number(int(button), 16)));
    QCOMPARE(window->minimumSize(), window->maximumSize());

    // What the window manager is told: moving only, no minimise, maximise or close.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QList<quint32> hints = motifHints(window.get());
    QVERIFY2(hints.size() >= 2, "no _MOTIF_WM_HINTS on the window");
    QVERIFY(hints.at(0) & MotifFunctions);
    QCOMPARE(hints.at(1) & (FunctionAll | FunctionMinimise | FunctionMaximise | FunctionClose), 0u);
}

void TestWindowFrames::workingWindowsKeepTheirButtons_data()
{
    QTest::addColumn<Factory>("create");
    QTest::newRow("students") << make<TfrmStudenti>();
    QTest::newRow("ID card") << make<TfrmTessera>();
}

void TestWindowFrames::workingWindowsKeepTheirButtons()
{
    QFETCH(Factory, create);
    TestFolder folder;
    std::unique_ptr<QWidget> window(create(folder.context));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QList<quint32> hints = motifHints(window.get());
    // No hints at all, or hints that keep every function.
    if (hints.size() >= 2 && (hints.at(0) & MotifFunctions))
        QVERIFY((hints.at(1) & FunctionAll) || (hints.at(1) & FunctionClose));
    QVERIFY(!window->windowFlags().testFlag(Qt::CustomizeWindowHint));
}

QTEST_MAIN(TestWindowFrames)
#include "test_windowframes.moc"
