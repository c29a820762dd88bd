#include "help/helptexts.h"

#include <QTest>

using HelpTexts::Topic;
Q_DECLARE_METATYPE(HelpTexts::Topic)

class TestHelpTexts : public QObject
{
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void bodyIsParagraphsJoinedByBlankLines();
    void generalHoldsTheWindowTexts();
    void exactParagraphs_data();
    void exactParagraphs();
};

void TestHelpTexts::texts_data()
{
    QTest::addColumn<Topic>("topic");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<QString>("begins");
    QTest::addColumn<QString>("ends");
    QTest::newRow("general") << Topic::General << "Uno sguardo a Lumetra" << 23
                             << "Lumetra è un software facile e intuitivo che consente"
                             << "richieda tempi di apprendimento praticamente nulli.";
    QTest::newRow("students") << Topic::Students << "App Archivio Studenti" << 11
                              << "L'app Archivio Studenti è uno schedario in cui registrare"
                              << "può essere visualizzata in anteprima o stampata su carta.";
    QTest::newRow("card") << Topic::Card << "App Stampa Tesserini" << 4
                          << "L'app Stampa Tesserini serve sia alla stampa"
                          << "al riquadro della foto in formato tessera.";
    QTest::newRow("export") << Topic::Export << "Esportazione archivio studenti in Microsoft Excel." << 3
                            << "L'app Esportazione in Excel consente di esportare"
                            << "assegnandogli un nome qualsiasi.";
}

void TestHelpTexts::texts()
{
    QFETCH(Topic, topic);
    QFETCH(QString, title);
    QFETCH(int, paragraphs);
    QFETCH(QString, begins);
    QFETCH(QString, ends);
    const HelpTexts::HelpText text = HelpTexts::text(topic);
    QCOMPARE(text.title, title);
    QCOMPARE(HelpTexts::paragraphs(topic).size(), paragraphs);
    QVERIFY2(text.body.startsWith(begins), qPrintable(text.body.left(80)));
    QVERIFY2(text.body.endsWith(ends), qPrintable(text.body.right(80)));
}

void TestHelpTexts::bodyIsParagraphsJoinedByBlankLines()
{
    const QString blankLine = QStringLiteral("\r\n\r\n");
    QCOMPARE(HelpTexts::paragraphSeparator(), blankLine);
    for (Topic topic : HelpTexts::topics()) {
        const QString body = HelpTexts::text(topic).body;
        const QStringList paragraphs = HelpTexts::paragraphs(topic);
        QCOMPARE(body, paragraphs.join(blankLine));
        QCOMPARE(body.split(blankLine), paragraphs);
        // One blank line between paragraphs, no line break at either end,
        // and each paragraph a single line without stray blanks.
        QCOMPARE(body.count(QLatin1Char('\n')), 2 * (paragraphs.size() - 1));
        QCOMPARE(body.count(QLatin1Char('\r')), 2 * (paragraphs.size() - 1));
        for (const QString &paragraph : paragraphs) {
            QVERIFY(!paragraph.isEmpty());
            QCOMPARE(paragraph.trimmed(), paragraph);
            QVERIFY(!paragraph.contains(QLatin1String("  ")));
        }
    }
    QCOMPARE(HelpTexts::topics(), (QList<Topic>{Topic::General, Topic::Students, Topic::Card, Topic::Export}));
}

void TestHelpTexts::generalHoldsTheWindowTexts()
{
    // The introduction, then students, export and cards whole, then four closing paragraphs.
    const QStringList general = HelpTexts::paragraphs(Topic::General);
    const QStringList students = HelpTexts::paragraphs(Topic::Students);
    const QStringList exportText = HelpTexts::paragraphs(Topic::Export);
    const QStringList card = HelpTexts::paragraphs(Topic::Card);
    QCOMPARE(general.mid(1, 11), students);
    QCOMPARE(general.mid(12, 3), exportText);
    QCOMPARE(general.mid(15, 4), card);
    QVERIFY(general.at(0).startsWith(QStringLiteral("Lumetra è un software facile")));
    QVERIFY(general.at(19).startsWith(QStringLiteral("Lumetra può essere utilizzato anche in una rete locale")));
    QVERIFY(general.at(20).startsWith(QStringLiteral("L'accesso al software è protetto")));
    QVERIFY(general.at(21).startsWith(QStringLiteral("Lumetra funziona anche su chiavetta USB.")));
    QVERIFY(general.at(22).startsWith(QStringLiteral("Lumetra è quindi il programma ideale")));
    // The body itself carries the window bodies as they stand.
    const QString body = HelpTexts::text(Topic::General).body;
    for (Topic topic : {Topic::Students, Topic::Export, Topic::Card})
        QVERIFY(body.contains(HelpTexts::paragraphSeparator() + HelpTexts::text(topic).body
                              + HelpTexts::paragraphSeparator()));
}

void TestHelpTexts::exactParagraphs_data()
{
    QTest::addColumn<Topic>("topic");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("local network") << Topic::General << 19
        << "Lumetra può essere utilizzato anche in una rete locale se si ha necessità di condividere gli "
           "archivi fra più postazioni di lavoro.";
    QTest::newRow("first password") << Topic::General << 20
        << "L'accesso al software è protetto da una password aggiornabile dall'utente che può essere "
           "cambiata tutte le volte che si desidera. Per il primo accesso al programma, bisogna "
           "utilizzare la parola chiave \"pergolatovesca\" (scritta senza le virgolette).";
    QTest::newRow("slide show") << Topic::Students << 6
        << "Il pulsante Slide Show mostra in sequenza, ad intervalli di sei secondi e a schermo intero, "
           "tutte le foto degli studenti in archivio. Una volta visualizzata l'ultima foto archiviata, la "
           "presentazione riprende dal principio. Per uscire dalla modalità Slide Show è sufficiente fare "
           "clic su un punto qualsiasi della schermata.";
    QTest::newRow("sheet") << Topic::Students << 10
        << "La scheda anagrafica di ogni singolo studente può essere visualizzata in anteprima o stampata "
           "su carta.";
    QTest::newRow("export steps") << Topic::Export << 1
        << "Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona di "
           "Excel. Questa operazione crea in tempo reale un file in formato XLS contenente le schede degli "
           "studenti in archivio, che potrà essere aperto immediatamente rispondendo affermativamente al "
           "messaggio di domanda che appare.";
    QTest::newRow("save") << Topic::Export << 2
        << "A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome "
           "qualsiasi.";
}

void TestHelpTexts::exactParagraphs()
{
    QFETCH(Topic, topic);
    QFETCH(int, index);
    QFETCH(QString, text);
    QCOMPARE(HelpTexts::paragraphs(topic).at(index), text);
}

QTEST_APPLESS_MAIN(TestHelpTexts)
#include "test_helptexts.moc"
