// The windows' fonts against the sizes their layouts give in points: at the
// 96 pixels to the inch the windows are laid out in, 9 pt is 12 px, 12 pt
// 16 px, 14 pt 19 px, 16 pt 21 px, 18 pt 24 px, whatever the screen reports.
#include "testutil.h"

#include "app/tfrmcambiapassword.h"
#include "app/tfrminfo.h"
#include "app/tfrmpassword.h"
#include "card/tfrmdatiente.h"
#include "card/tfrmstampatessera.h"
#include "card/tfrmtessera.h"
#include "checks/tfrmcodfisc.h"
#include "checks/tfrmpartitaiva.h"
#include "export/tfrmexpstudenti.h"
#include "help/tfrmguida.h"
#include "media/tfrmallegacartella.h"
#include "register/tfrmprove_sostenute.h"
#include "search/tfrmtrovastudenti.h"
#include "students/tfrmstudenti.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
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

struct Expected
{
    const char *control;
    const char *family;
    int pixels;
    bool bold;
};

} // namespace

Q_DECLARE_METATYPE(Factory)
Q_DECLARE_METATYPE(QList<Expected>)

class TestWindowFonts : public QObject
{
    Q_OBJECT
private slots:
    void pointSizes_data();
    void pointSizes();
    void identifierFitsItsField_data();
    void identifierFitsItsField();
};

void TestWindowFonts::pointSizes_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QList<Expected>>("fonts");

    QTest::newRow("login") << make<TfrmPassword>()
                           << QList<Expected>{{"txtPassword", "Verdana", 19, true}, {"lblRigo05", "Verdana", 12, false}};
    QTest::newRow("password change") << make<TfrmCambiaPassword>()
                                     << QList<Expected>{{"txtPasswordOld", "Verdana", 19, true},
                                                        {"txtPasswordNew", "Verdana", 19, true},
                                                        {"txtConferma", "Verdana", 19, true}};
    QTest::newRow("guide") << make<TfrmGuida>()
                           << QList<Expected>{{"lblTitolo", "Arial", 21, true},
                                              {"txtGuida", "Verdana", 16, true},
                                              {"lnkWeb", "Tahoma", 19, false}};
    QTest::newRow("about") << make<TfrmInfo>() << QList<Expected>{{"btnChiudi", "Verdana", 16, false}};
    QTest::newRow("student window") << make<TfrmStudenti>()
                                    << QList<Expected>{{"txtStudente", "Verdana", 16, true},
                                                       {"txtCodFisc", "Verdana", 16, true},
                                                       {"txtNote", "Verdana", 16, true},
                                                       {"panInfo", "Tahoma", 16, false}};
    QTest::newRow("tests window") << make<TfrmProve_Sostenute>()
                                  << QList<Expected>{{"lblTitolo", "Verdana", 24, false},
                                                     {"txtTrova", "Verdana", 16, true},
                                                     {"txtData", "Verdana", 16, true},
                                                     {"txtEsito", "Verdana", 16, true}};
    QTest::newRow("search") << make<TfrmTrovaStudenti>()
                            << QList<Expected>{{"txtStudente", "Verdana", 16, true}, {"txtTrova", "Verdana", 16, true}};
    QTest::newRow("card window") << make<TfrmTessera>()
                                 << QList<Expected>{{"panInfo", "Tahoma", 16, false},
                                                    {"titAssociazione", "Verdana", 19, true},
                                                    {"txtTesserato", "Verdana", 21, true},
                                                    {"txtCarica", "Verdana", 19, true},
                                                    {"txtNumTessera", "Verdana", 16, true},
                                                    {"titAnnotazioni", "Verdana", 16, true}};
    QTest::newRow("school data") << make<TfrmDatiEnte>()
                                 << QList<Expected>{{"txtAssociazione", "Verdana", 16, true},
                                                    {"txtSottotitolo01", "Verdana", 16, true},
                                                    {"txtSottotitolo02", "Verdana", 16, true},
                                                    {"txtAnnotazioni", "Verdana", 16, true}};
    QTest::newRow("card print") << make<TfrmStampaTessera>()
                                << QList<Expected>{{"optVerticale", "Verdana", 16, true},
                                                   {"optOrizzontale", "Verdana", 16, true},
                                                   {"txtTop", "Verdana", 16, true},
                                                   {"txtLeft", "Verdana", 16, true},
                                                   {"btnTopMinus", "Verdana", 16, true},
                                                   {"btnTopPlus", "Verdana", 16, true},
                                                   {"btnLeftMinus", "Verdana", 16, true},
                                                   {"btnLeftPlus", "Verdana", 16, true}};
    QTest::newRow("export") << make<TfrmExpStudenti>() << QList<Expected>{{"panInfo", "Tahoma", 16, false}};
    QTest::newRow("attachments") << make<TfrmAllegaCartella>()
                                 << QList<Expected>{{"lblCampo01", "Verdana", 16, false},
                                                    {"lblCampo02", "Verdana", 16, false},
                                                    {"txtDesc01", "Verdana", 16, true},
                                                    {"txtDesc03", "Verdana", 16, true}};
}

void TestWindowFonts::pointSizes()
{
    QFETCH(Factory, create);
    QFETCH(QList<Expected>, fonts);
    TestFolder folder;
    std::unique_ptr<QWidget> window(create(folder.context));
    for (const Expected &e : fonts) {
        const QString name = QString::fromLatin1(e.control);
        auto *control = findControl<QWidget>(window.get(), name);
        QVERIFY(control);
        const QFont font = control->font();
        QVERIFY2(font.family() == QLatin1String(e.family) && font.pixelSize() == e.pixels && font.bold() == e.bold,
                 qPrintable(QStringLiteral("%1: %2 %3 px%4 instead of %5 %6 px%7")
                                .arg(name, font.family())
                                .arg(font.pixelSize())
                                .arg(font.bold() ? QStringLiteral(" bold") : QString(), QString::fromLatin1(e.family))
                                .arg(e.pixels)
                                .arg(e.bold ? QStringLiteral(" bold") : QString())));
        // At that size the caption is whole.
        if (qobject_cast<QRadioButton *>(control) || qobject_cast<QLabel *>(control))
            QVERIFY2(control->width() >= control->sizeHint().width(),
                     qPrintable(QStringLiteral("%1: %2 px wide, its text needs %3")
                                    .arg(name)
                                    .arg(control->width())
                                    .arg(control->sizeHint().width())));
    }
}

void TestWindowFonts::identifierFitsItsField_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("widest"); // the longest code, in its widest letters
    QTest::newRow("codice fiscale") << make<TfrmCodFisc>() << "txtCodFisc" << "WWWWWWWWWWWWWWWW";
    QTest::newRow("partita IVA") << make<TfrmPartitaIva>() << "txtPartitaIva" << "00000000000";
}

// Courier New 20 pt bold is 27 px; the code field is 233 px wide, too narrow
// for 16 letters at that size. The field keeps the largest size, at most
// 27 px, at which the whole code shows; so does the instruction (Arial 12 pt
// at most) on its panel.
void TestWindowFonts::identifierFitsItsField()
{
    QFETCH(Factory, create);
    QFETCH(QString, field);
    QFETCH(QString, widest);
    TestFolder folder;
    std::unique_ptr<QWidget> window(create(folder.context));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *edit = findControl<QLineEdit>(window.get(), field);
    QVERIFY(edit);
    QCOMPARE(edit->font().family(), QStringLiteral("Courier New"));
    QVERIFY(edit->font().bold());
    QVERIFY(edit->font().pixelSize() <= 27);
    QVERIFY(edit->font().pixelSize() >= 20);
    edit->setText(widest);
    // The whole code is on screen: the field looks the same with the cursor
    // at the start and at the end, nothing scrolled out of sight.
    edit->setReadOnly(true); // no cursor drawn: only the letters are ink
    const auto shown = [edit](int cursor) {
        edit->setCursorPosition(cursor);
        return edit->grab().toImage();
    };
    const auto firstInk = [](const QImage &image) {
        for (int x = 3; x < image.width(); ++x)
            for (int y = 3; y < image.height() - 3; ++y)
                if (qGray(image.pixel(x, y)) < 96)
                    return x;
        return -1;
    };
    const int atStart = firstInk(shown(0));
    const int atEnd = firstInk(shown(int(widest.size())));
    QVERIFY(atStart > 0);
    QCOMPARE(atEnd, atStart);

    // The instruction above it is whole on the panel too.
    auto *instruction = findControl<QLabel>(window.get(), QStringLiteral("lblTitolo"));
    QVERIFY(instruction);
    QVERIFY(QFontMetrics(instruction->font()).horizontalAdvance(instruction->text()) <= instruction->width());
    QVERIFY2(instruction->geometry().right() < instruction->parentWidget()->width(),
             qPrintable(QString::number(instruction->geometry().right())));
}

QTEST_MAIN(TestWindowFonts)
#include "test_windowfonts.moc"
