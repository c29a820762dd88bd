// The attachments window: copies into the attachments folder, the overwrite
// question, opening through the shell (never outside that folder), and the
// six values handed back to the student window.
#include "../students/studentfixture.h"

#include "base/forms.h"
#include "media/tfrmallegacartella.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using Kind = Platform::MessageKind;

namespace {

const QString kQuestion = QStringLiteral(
    "Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.\r\n\r\n"
    "Si vuole sovrascrivere il file esistente?");

struct Holder : AttachmentHolder
{
    Attachments values;
    int writes = 0;
    Attachments attachments() const override { return values; }
    void setAttachments(const Attachments &a) override
    {
        values = a;
        ++writes;
    }
};

// The window on its own, over a recording holder, in the student window's mode.
struct AttachWindow
{
    TestFolder folder;
    Holder holder;
    TfrmAllegaCartella *window;

    explicit AttachWindow(const QString &tag = QStringLiteral("studenti"))
        : window(new TfrmAllegaCartella(folder.context, nullptr, &holder))
    {
        Forms::setModeTag(window, tag);
    }
    ~AttachWindow() { delete window; }

    static QString n(int k) { return QStringLiteral("0%1").arg(k); }
    QLineEdit *file(int k) const { return findControl<QLineEdit>(window, QStringLiteral("txtFile") + n(k)); }
    QLineEdit *desc(int k) const { return findControl<QLineEdit>(window, QStringLiteral("txtDesc") + n(k)); }
    QPushButton *openButton(int k) const
    {
        return findControl<QPushButton>(window, QStringLiteral("btnApri") + n(k));
    }
    void click(const QString &name) const { QTest::mouseClick(findControl<QWidget>(window, name), Qt::LeftButton); }
    QString stored(const QString &name) const { return folder.path(QStringLiteral("Documenti_Allegati/") + name); }
};

AttachmentHolder::Attachments values(const QStringList &six)
{
    AttachmentHolder::Attachments a;
    for (int k = 0; k < 3; ++k) {
        a.files[k] = six[2 * k];
        a.descriptions[k] = six[2 * k + 1];
    }
    return a;
}

} // namespace

class TestAttachments : public QObject
{
    Q_OBJECT
private slots:
    void fromStudentWindow_data();
    void fromStudentWindow();
    void browse_data();
    void browse();
    void browseWithoutAttachmentsFolder();
    void open_data();
    void open();
    void eraserKeepsDescription();
    void applyOnlyInStudentMode_data();
    void applyOnlyInStudentMode();
};

void TestAttachments::fromStudentWindow_data()
{
    QTest::addColumn<bool>("apply");
    QTest::newRow("Applica e chiudi") << true;
    QTest::newRow("Annulla") << false;
}

// The student window fills the six edits trimmed, under the tag "studenti";
// applying writes them back trimmed into its hidden labels, cancelling does
// not; neither touches the archive.
void TestAttachments::fromStudentWindow()
{
    QFETCH(bool, apply);

    StudentWindow w;
    writeArchive(w.folder, 1);
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    const QByteArray archive = archiveBytes(w.folder);
    const QStringList labels{QStringLiteral("lblFile01"), QStringLiteral("lblDesc01"), QStringLiteral("lblFile02"),
                             QStringLiteral("lblDesc02"), QStringLiteral("lblFile03"), QStringLiteral("lblDesc03")};
    const QStringList before{QStringLiteral("  pagella.pdf "), QStringLiteral("\tPagella  "), QString(),
                             QStringLiteral("solo descrizione"), QStringLiteral("   "), QString()};
    for (int i = 0; i < 6; ++i)
        w.label(labels[i])->setText(before[i]);

    QString tag;
    QStringList shown;
    QList<bool> openEnabled;
    QWidget *owner = nullptr;
    whenModalShown<TfrmAllegaCartella>([&](TfrmAllegaCartella *dialog) {
        owner = dialog->parentWidget();
        tag = findControl<QLabel>(dialog, QStringLiteral("lblMemory"))->text();
        for (int k = 1; k <= 3; ++k) {
            shown << findControl<QLineEdit>(dialog, QStringLiteral("txtFile0%1").arg(k))->text()
                  << findControl<QLineEdit>(dialog, QStringLiteral("txtDesc0%1").arg(k))->text();
            openEnabled << findControl<QPushButton>(dialog, QStringLiteral("btnApri0%1").arg(k))->isEnabled();
        }
        findControl<QLineEdit>(dialog, QStringLiteral("txtDesc03"))->setText(QStringLiteral("  Diploma  "));
        QTest::mouseClick(findControl<QWidget>(dialog, apply ? QStringLiteral("btnApplica")
                                                             : QStringLiteral("btnAnnulla")),
                          Qt::LeftButton);
    });
    w.click(QStringLiteral("cmdFile"));

    QCOMPARE(owner, w.window);
    QCOMPARE(tag, QStringLiteral("studenti"));
    QCOMPARE(shown, (QStringList{"pagella.pdf", "Pagella", "", "solo descrizione", "", ""}));
    QCOMPARE(openEnabled, (QList<bool>{true, false, false}));
    QStringList after;
    for (const QString &label : labels)
        after << w.label(label)->text();
    if (apply)
        QCOMPARE(after, (QStringList{"pagella.pdf", "Pagella", "", "solo descrizione", "", "Diploma"}));
    else
        QCOMPARE(after, before);
    QCOMPARE(archiveBytes(w.folder), archive);
    QTRY_VERIFY(w.window->findChildren<QDialog *>().isEmpty());
}

void TestAttachments::browse_data()
{
    QTest::addColumn<QString>("source");      // relative to the data folder; "" cancels
    QTest::addColumn<QByteArray>("existing"); // already in the attachments folder; null: none
    QTest::addColumn<bool>("answer");         // to the overwrite question
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QByteArray>("stored");   // the copy afterwards; null: none
    QTest::addColumn<QString>("slot");        // the slot's name afterwards
    QTest::addColumn<bool>("warned");

    const QByteArray fresh("contenuto nuovo");
    const QByteArray old("contenuto vecchio");
    QTest::newRow("new file") << "scelti/diploma.pdf" << QByteArray() << true << false << fresh << "diploma.pdf"
                              << false;
    QTest::newRow("existing, overwrite Yes")
        << "scelti/diploma.pdf" << old << true << true << fresh << "diploma.pdf" << false;
    QTest::newRow("existing, overwrite No: the slot still takes the name")
        << "scelti/diploma.pdf" << old << false << true << old << "diploma.pdf" << false;
    QTest::newRow("the stored copy itself, Yes")
        << "Documenti_Allegati/diploma.pdf" << old << true << true << old << "diploma.pdf" << false;
    QTest::newRow("the stored copy itself, No")
        << "Documenti_Allegati/diploma.pdf" << old << false << true << old << "diploma.pdf" << false;
    // A name with no file behind it would be saved on the card: the copy
    // that failed is said, and the slot keeps what it had.
    QTest::newRow("source vanished: a warning, the slot keeps its name")
        << "scelti/sparito.pdf" << QByteArray() << true << false << QByteArray() << "vecchio.doc" << true;
    QTest::newRow("source vanished over an existing copy: the old copy stays")
        << "scelti/sparito.pdf" << old << true << true << old << "vecchio.doc" << true;
    QTest::newRow("accents and spaces")
        << "scelti/Carta d'identità fronte.jpg" << QByteArray() << true << false << fresh
        << "Carta d'identità fronte.jpg" << false;
    QTest::newRow("250-character name") << "scelti/" + QString(246, QLatin1Char('a')) + ".pdf" << QByteArray()
                                        << true << false << fresh << QString(246, QLatin1Char('a')) + ".pdf"
                                        << false;
    QTest::newRow("250-character name, overwrite Yes")
        << "scelti/" + QString(246, QLatin1Char('b')) + ".pdf" << old << true << true << fresh
        << QString(246, QLatin1Char('b')) + ".pdf" << false;
    QTest::newRow("251-character name: refused, the card could not keep it")
        << "scelti/" + QString(247, QLatin1Char('a')) + ".pdf" << QByteArray() << true << false << QByteArray()
        << "vecchio.doc" << true;
    QTest::newRow("backslash in the name: refused")
        << "scelti/..\\..\\x.exe" << QByteArray() << true << false << QByteArray() << "vecchio.doc" << true;
    QTest::newRow("dialog cancelled") << "" << QByteArray() << true << false << QByteArray() << "vecchio.doc"
                                      << false;
}

void TestAttachments::browse()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, existing);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(QByteArray, stored);
    QFETCH(QString, slot);
    QFETCH(bool, warned);

    AttachWindow a;
    const QString name = source.section(QLatin1Char('/'), -1);
    if (!source.isEmpty() && !source.contains(QStringLiteral("sparito")) && !source.startsWith("Documenti"))
        a.folder.writeFile(source, "contenuto nuovo");
    if (!existing.isNull())
        a.folder.writeFile(QStringLiteral("Documenti_Allegati/") + name, existing);
    a.holder.values = values({"vecchio.doc", "Vecchio", "", "", "", ""});
    a.window->showAttachments(a.holder.values);
    QVERIFY(showActive(*a.window));
    if (!source.isEmpty())
        a.folder.platform.openAnswers.enqueue(a.folder.path(source));
    a.folder.platform.confirmAnswers.enqueue(answer);

    a.click(QStringLiteral("btnSfoglia01"));

    QCOMPARE(a.folder.platform.dialogTitles, QStringList{QStringLiteral("Selezionare il file da allegare:")});
    QCOMPARE(a.file(1)->text(), slot);
    QCOMPARE(a.openButton(1)->isEnabled(), true);
    QCOMPARE(a.desc(1)->text(), QStringLiteral("Vecchio"));
    QList<Kind> kinds;
    for (const auto &m : a.folder.platform.messages)
        kinds << m.kind;
    QList<Kind> expected;
    if (asked)
        expected << Kind::Confirmation;
    if (warned)
        expected << Kind::Warning;
    QCOMPARE(kinds, expected);
    if (asked)
        QCOMPARE(a.folder.platform.messages.first().text, kQuestion);
    if (stored.isNull())
        QVERIFY(name.isEmpty() || !QFile::exists(a.stored(name)) || !existing.isNull());
    else
        QCOMPARE(a.folder.readFile(QStringLiteral("Documenti_Allegati/") + name), stored);
    // Nothing but the chosen copy ever lands in the folder.
    const QStringList files = QDir(a.folder.path(QStringLiteral("Documenti_Allegati")))
                                  .entryList(QDir::Files | QDir::Hidden);
    QVERIFY(files.size() <= 1);
    // Nothing goes back to the holder before Applica e chiudi.
    QCOMPARE(a.holder.writes, 0);
    QCOMPARE(a.holder.values.files[0], QStringLiteral("vecchio.doc"));
}

// The attachments folder cannot be created (a file holds its name): nothing
// is asked or copied, a warning says so, the slot keeps its (empty) name and
// the window goes on.
void TestAttachments::browseWithoutAttachmentsFolder()
{
    AttachWindow a;
    a.folder.writeFile(QStringLiteral("Documenti_Allegati"), "un file, non una cartella");
    a.folder.writeFile(QStringLiteral("scelti/diploma.pdf"), "diploma");
    QVERIFY(showActive(*a.window));
    a.folder.platform.openAnswers.enqueue(a.folder.path(QStringLiteral("scelti/diploma.pdf")));

    a.click(QStringLiteral("btnSfoglia02"));

    QCOMPARE(a.file(2)->text(), QString());
    QCOMPARE(a.folder.platform.messages.size(), 1);
    QCOMPARE(a.folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(a.folder.platform.lastText(),
             QStringLiteral("Attenzione: non è stato possibile copiare il file \"diploma.pdf\" nella cartella dei "
                            "documenti allegati.\r\n\r\nIl file non è stato allegato."));
    QCOMPARE(a.folder.readFile(QStringLiteral("Documenti_Allegati")), QByteArray("un file, non una cartella"));
    a.click(QStringLiteral("btnApplica"));
    QCOMPARE(a.holder.values.files[1], QString());
}

void TestAttachments::open_data()
{
    QTest::addColumn<QString>("name");    // as read from the archive
    QTest::addColumn<QString>("present"); // file put in the attachments folder; "" none
    QTest::addColumn<QString>("opened");  // relative path handed to the shell; "" none
    QTest::addColumn<QString>("warning"); // "" none

    const QString unsafe = QStringLiteral(
        "Attenzione: il file allegato non può essere aperto perché il suo nome non è valido.\r\n\r\n"
        "Il nome di un file allegato non può indicare cartelle o unità: sceglierlo di nuovo con il pulsante "
        "Sfoglia.");
    QTest::newRow("present") << "pagella.pdf" << "pagella.pdf" << "Documenti_Allegati/pagella.pdf" << "";
    QTest::newRow("blanks around") << "  pagella.pdf " << "pagella.pdf" << "Documenti_Allegati/pagella.pdf"
                                   << "";
    QTest::newRow("accents and spaces") << "Attestato qualità.odt" << "Attestato qualità.odt"
                                        << "Documenti_Allegati/Attestato qualità.odt" << "";
    QTest::newRow("file no longer there")
        << "sparito.pdf" << "" << ""
        << "Attenzione: il file \"sparito.pdf\" non è presente nella cartella dei documenti allegati.";
    QTest::newRow("parent folders, backslashes") << "..\\..\\x.exe" << "" << "" << unsafe;
    QTest::newRow("parent folder, to the archive") << "../Archivio_Studenti.pro" << "" << "" << unsafe;
    QTest::newRow("absolute path") << "/etc/passwd" << "" << "" << unsafe;
    QTest::newRow("drive and folder") << "C:\\x" << "" << "" << unsafe;
    QTest::newRow("drive relative") << "C:x.exe" << "" << "" << unsafe;
    QTest::newRow("network share") << "\\\\server\\c$\\x.exe" << "" << "" << unsafe;
    QTest::newRow("dot dot") << ".." << "" << "" << unsafe;
    QTest::newRow("the folder itself") << "." << "" << "" << unsafe;
}

void TestAttachments::open()
{
    QFETCH(QString, name);
    QFETCH(QString, present);
    QFETCH(QString, opened);
    QFETCH(QString, warning);

    AttachWindow a;
    writeArchive(a.folder, 1);
    if (!present.isEmpty())
        a.folder.writeFile(QStringLiteral("Documenti_Allegati/") + present, "documento");
    // The same name in all three slots: each Apri behaves alike.
    a.window->showAttachments(values({name, "", name, "", name, ""}));
    QVERIFY(showActive(*a.window));

    for (int k = 1; k <= 3; ++k) {
        a.folder.platform.clear();
        QVERIFY(a.openButton(k)->isEnabled());
        a.click(QStringLiteral("btnApri0%1").arg(k));
        QCOMPARE(a.folder.platform.opened,
                 opened.isEmpty() ? QStringList() : QStringList{"\"" + a.folder.path(opened) + "\""});
        QCOMPARE(a.folder.platform.lastText(), warning);
        if (!warning.isEmpty())
            QCOMPARE(a.folder.platform.lastKind(), Kind::Warning);
    }
    // Nothing else breaks: the names stay and the window stays open.
    QCOMPARE(a.file(2)->text(), name.trimmed());
    QVERIFY(a.window->isVisible());
}

// The eraser forgets the name only: Apri goes off, the description and the
// stored copy stay, and an empty name with a description is handed back as is.
void TestAttachments::eraserKeepsDescription()
{
    AttachWindow a;
    a.folder.writeFile(QStringLiteral("Documenti_Allegati/voti.xls"), "voti");
    a.window->showAttachments(values({"", "", "voti.xls", "Voti finali", "", ""}));
    QVERIFY(showActive(*a.window));
    QVERIFY(a.openButton(2)->isEnabled());

    a.click(QStringLiteral("imgCancella02"));

    QCOMPARE(a.file(2)->text(), QString());
    QVERIFY(!a.openButton(2)->isEnabled());
    QCOMPARE(a.desc(2)->text(), QStringLiteral("Voti finali"));
    QVERIFY(QFile::exists(a.stored(QStringLiteral("voti.xls"))));

    a.click(QStringLiteral("btnApplica"));
    QCOMPARE(a.holder.writes, 1);
    QCOMPARE(a.holder.values.files[1], QString());
    QCOMPARE(a.holder.values.descriptions[1], QStringLiteral("Voti finali"));
    QVERIFY(!a.window->isVisible());
}

void TestAttachments::applyOnlyInStudentMode_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("applied");
    QTest::newRow("studenti") << "studenti" << true;
    QTest::newRow("studenti with blanks") << "  studenti " << true;
    QTest::newRow("other case") << "Studenti" << false;
    QTest::newRow("another opener's word") << "tessera" << false;
    QTest::newRow("empty") << "" << false;
}

void TestAttachments::applyOnlyInStudentMode()
{
    QFETCH(QString, tag);
    QFETCH(bool, applied);
    AttachWindow a(tag);
    a.window->showAttachments(values({"a.pdf", "A", "", "", "", ""}));
    QVERIFY(showActive(*a.window));
    a.click(QStringLiteral("btnApplica"));
    QCOMPARE(a.holder.writes, applied ? 1 : 0);
    QCOMPARE(a.window->isVisible(), !applied);
}

QTEST_MAIN(TestAttachments)
#include "test_attachments.moc"
