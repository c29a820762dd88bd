#include "help/helptexts.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using HelpTexts::Topic;

namespace {

// Runs of blanks, line and page breaks become one space; compatibility
// characters (ligatures) their plain letters.
QString normalised(QString text)
{
    text = text.normalized(QString::NormalizationForm_KC);
    return text.simplified();
}

} // namespace

// The user guide shipped beside the executable, as the build made it.
class TestUserGuide : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void holdsTheHelpTexts();
    void titlePage();

private:
    QString m_text;  // the guide's text, footers removed
    QStringList m_pages;
};

void TestUserGuide::initTestCase()
{
    const QString guide = QStringLiteral(LUMETRA_GUIDE);
    QVERIFY2(QFileInfo::exists(guide), qPrintable(guide + " is missing"));
    QFile file(guide);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(5), QByteArray("%PDF-"));
    file.close();

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is needed to read the guide's text");
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), guide,
                                                  QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    QCOMPARE(pdftotext.exitCode(), 0);
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    m_pages = text.split(QLatin1Char('\f'));
    // Every page after the title ends with its footer; a paragraph running
    // over a page break reads on without it.
    static const QRegularExpression footer(
        QStringLiteral("^Lumetra - Guida all'utilizzo del software - pagina \\d+$"),
        QRegularExpression::MultilineOption);
    QString body = text;
    body.remove(footer);
    m_text = normalised(body);
}

void TestUserGuide::holdsTheHelpTexts()
{
    for (Topic topic : HelpTexts::topics()) {
        const HelpTexts::HelpText help = HelpTexts::text(topic);
        // The title, then the body's paragraphs in order, as the guide window shows them.
        const QString expected = normalised(help.title + QLatin1Char(' ') + help.body);
        QVERIFY2(m_text.contains(expected), qPrintable(help.title));
    }
}

void TestUserGuide::titlePage()
{
    QVERIFY(m_pages.size() > 6);
    const QString title = normalised(m_pages.first());
    QVERIFY2(title.contains(QStringLiteral("Lumetra")), qPrintable(title));
    QVERIFY2(title.contains(QStringLiteral("Guida all'utilizzo del software")), qPrintable(title));
    // The contents name every help text.
    const QString contents = normalised(m_pages.at(1));
    for (Topic topic : HelpTexts::topics())
        QVERIFY2(contents.contains(HelpTexts::text(topic).title), qPrintable(contents));
}

QTEST_GUILESS_MAIN(TestUserGuide)
#include "test_userguide.moc"
