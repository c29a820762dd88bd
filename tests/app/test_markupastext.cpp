// Stored text is shown as text: a school called "Liceo <s>Volta</s> & Figli"
// or a student named "<b>Rossi</b>" reads so on every window, never struck
// through or in bold. Every field of the card, of its tests and of the school
// holds markup; each window that shows them is then walked label by label.
#include "programfixture.h"

#include "archive/studentrecord.h"
#include "base/widgets.h"
#include "base/windowinterfaces.h"
#include "card/tfrmtessera.h"
#include "export/tfrmexpstudenti.h"
#include "register/testrecord.h"
#include "register/tfrmprove_sostenute.h"
#include "search/tfrmtrovastudenti.h"
#include "students/tfrmstudenti.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace {

// Markup that fits a field of `capacity` characters, told apart by `name`.
QString markup(const QString &name, int capacity)
{
    const QString full = QStringLiteral("<s>%1</s> & <b>x</b>").arg(name);
    if (full.size() <= capacity)
        return full;
    return capacity >= 4 ? QStringLiteral("<b>x").left(capacity) : QString();
}

StudentRecord markedCard()
{
    StudentRecord record;
    const auto &layout = StudentRecord::layout();
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        record[StudentRecord::Field(f)] = markup(QString::fromLatin1(layout[f].name), layout[f].capacity);
    return record;
}

QByteArray markedTests()
{
    TProva test;
    for (const auto &field : TProva::layout())
        test[field.field] = markup(QString::fromLatin1(field.control), field.capacity);
    return test.encode();
}

// Every label of `window` that shows text a rich-text reader would take for
// markup, and how it shows it.
struct LabelCheck
{
    int seen = 0;
    QStringList asMarkup;
};

LabelCheck checkLabels(const QWidget *window)
{
    LabelCheck check;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->text().contains(QLatin1String("</s>")) && !label->text().contains(QLatin1String("<b>")))
            continue;
        ++check.seen;
        if (label->textFormat() != Qt::PlainText)
            check.asMarkup.append(label->objectName() + QStringLiteral(": ") + label->text());
    }
    return check;
}

// Every row an item view shows, as its text.
QStringList viewTexts(const QWidget *window)
{
    QStringList texts;
    for (const QAbstractItemView *view : window->findChildren<QAbstractItemView *>()) {
        const QAbstractItemModel *model = view->model();
        if (!model)
            continue;
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                texts.append(model->index(row, column).data().toString());
    }
    return texts;
}

struct Program : LoggedInProgram
{
    Program()
        : LoggedInProgram([](TestFolder &folder) {
              folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), markedCard().encode());
              folder.writeFile(QStringLiteral("Archivio_Prove/Prove_Studente_1.pro"), markedTests());
              folder.writeFile(QStringLiteral("Lumetra.ini"),
                               "[Scuola]\r\nDenominazione=Liceo <s>Volta</s> & Figli\r\nIndirizzo=<b>Via</b> Roma "
                               "1\r\nRecapiti=<i>0461</i> 123456\r\nNote=<u>Anno</u> 2026/27\r\n");
          })
    {
    }
    // The student window on the marked card.
    QWidget *students()
    {
        click(windows->startMenu(), QStringLiteral("imgStaff"));
        QWidget *window = windows->students();
        click(window, QStringLiteral("cmdPrimo"));
        return window;
    }
};

// Opens one window of the program showing the marked data, and hands it to
// `look` while it is open.
using Open = std::function<void(Program &, const std::function<void(QWidget *)> &look)>;

template<typename T>
void whenShownLook(const std::function<void(QWidget *)> &look, const std::function<void(T *)> &before = {})
{
    whenModalShown<T>([look, before](T *dialog) {
        if (before)
            before(dialog);
        look(dialog);
        dialog->close();
    });
}

} // namespace

Q_DECLARE_METATYPE(Open)

class TestMarkupAsText : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void windowsShowMarkupAsText_data();
    void windowsShowMarkupAsText();
};

void TestMarkupAsText::windowsShowMarkupAsText_data()
{
    QTest::addColumn<Open>("open");
    QTest::addColumn<bool>("inLabels"); // the window shows the data in labels

    QTest::newRow("student window") << Open([](Program &p, const auto &look) { look(p.students()); }) << false;
    QTest::newRow("card window, school and student") << Open([](Program &p, const auto &look) {
        Program::click(p.windows->startMenu(), QStringLiteral("imgBadges"));
        auto *card = p.windows->card();
        dynamic_cast<StudentPickTarget *>(card)->takeStudent(markedCard(), 1, QImage());
        look(card);
    }) << true;
    QTest::newRow("tests window") << Open([](Program &p, const auto &look) {
        QWidget *students = p.students();
        whenShownLook<TfrmProve_Sostenute>(look, [](TfrmProve_Sostenute *tests) {
            if (auto *list = tests->findChild<QAbstractItemView *>(QStringLiteral("lstRecords")))
                if (list->model() && list->model()->rowCount() > 0)
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                                       list->visualRect(list->model()->index(0, 0)).center());
        });
        Program::click(students, QStringLiteral("btnProve"));
    }) << true;
    QTest::newRow("search list") << Open([](Program &p, const auto &look) {
        QWidget *students = p.students();
        whenShownLook<TfrmTrovaStudenti>(look, [](TfrmTrovaStudenti *search) {
            Program::click(search, QStringLiteral("btnCerca"));
            QTRY_VERIFY(!viewTexts(search).isEmpty());
        });
        Program::click(students, QStringLiteral("cmdTrova"));
    }) << false;
    QTest::newRow("export grid") << Open([](Program &p, const auto &look) {
        whenShownLook<TfrmExpStudenti>(look);
        Program::click(p.windows->startMenu(), QStringLiteral("imgExport"));
    }) << false;
}

void TestMarkupAsText::windowsShowMarkupAsText()
{
    QFETCH(Open, open);
    QFETCH(bool, inLabels);
    Program program;
    bool looked = false;
    LabelCheck labels;
    QStringList rows;
    open(program, [&](QWidget *window) {
        looked = true;
        labels = checkLabels(window);
        rows = viewTexts(window);
    });
    QVERIFY(looked);
    QVERIFY2(labels.asMarkup.isEmpty(), qPrintable(labels.asMarkup.join(QLatin1Char('\n'))));
    if (inLabels)
        QVERIFY2(labels.seen > 0, "no label showed the stored text");
    // Lists and grids hand the text to their views as it is stored.
    for (const QString &row : std::as_const(rows))
        if (row.contains(QLatin1Char('<')))
            QVERIFY2(row.contains(QLatin1String("<s>")) || row.contains(QLatin1String("<b>")), qPrintable(row));
    QVERIFY(program.folder.platform.messages.isEmpty());
}

QTEST_MAIN(TestMarkupAsText)
#include "test_markupastext.moc"
