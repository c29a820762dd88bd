// Any bytes as the school's texts "Lumetra.ini" and as the card print
// settings "Tesserini.ini" of a data folder: loading gives usable one-line
// texts, a byte-order mark in front changes nothing that is read, and a save
// works, reads back, adds no second section and drops the mark.
#include "archive/datafolder.h"
#include "archive/fieldcodec.h"
#include "card/cardprintsettings.h"
#include "fuzzcheck.h"
#include "settings/schooldata.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
constexpr qsizetype kLargestSettings = 4 * 1024 * 1024;

// Memory-backed when the machine has it: every input is written and saved
// several times, and a save waits for the disk.
QString scratchParent()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

struct Folder
{
    QTemporaryDir dir{scratchParent() + QStringLiteral("/fuzz_settings-XXXXXX")};
    QString path = dir.path() + QLatin1Char('/');
    Folder() { DataFolder::add(path); }
};

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QByteArray get(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// A school text as the card shows it: something, within one line, without
// blanks at its ends.
bool isSane(const QString &text)
{
    if (text.isEmpty() || text.contains(QLatin1Char('\n')))
        return false;
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    return !blank(text.front()) && !blank(text.back());
}

// A margin is checked by its caller, but it is never blank and never more
// than one line.
bool isSaneMargin(const QString &text)
{
    return !FieldCodec::trimControls(text).isEmpty() && !text.contains(QLatin1Char('\n'));
}

// Header lines of `section` (any case, blanks around the name).
int sectionCount(const QByteArray &content, const QByteArray &section)
{
    int count = 0;
    for (QByteArray line : content.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[') && line.endsWith(']')
            && line.mid(1, line.size() - 2).trimmed().toLower() == section.toLower())
            ++count;
    }
    return count;
}

bool sameValues(const CardPrintSettings::Values &a, const CardPrintSettings::Values &b)
{
    return a.top == b.top && a.left == b.left && a.landscape == b.landscape;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Folder folder;
    const QString school = SchoolData::settingsPath(folder.path);
    const QString card = folder.path + CardPrintSettings::fileName();
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // What a reader sees of the file: its text without one leading mark.
    const QByteArray text = input.startsWith(kBom) ? input.mid(kBom.size()) : input;

    put(school, input);
    put(card, input);
    const SchoolTexts texts = SchoolData::load(folder.path);
    const CardPrintSettings::Values values = CardPrintSettings::load(card);

    if (input.size() > kLargestSettings) {
        // No settings file is that big: read as missing and left alone.
        FUZZ_CHECK(texts == SchoolData::defaults());
        FUZZ_CHECK(sameValues(values, CardPrintSettings::Values()));
        FUZZ_CHECK(!SchoolData::save(folder.path, SchoolData::defaults()));
        FUZZ_CHECK(!CardPrintSettings::saveTop(card, QStringLiteral("7"), true));
        return 0;
    }

    for (const QString &value : {texts.denominazione, texts.indirizzo, texts.recapiti, texts.note})
        FUZZ_CHECK(isSane(value));
    FUZZ_CHECK(isSaneMargin(values.top) && isSaneMargin(values.left));

    if (!input.startsWith(kBom) && input.size() + kBom.size() <= kLargestSettings) {
        put(school, kBom + input);
        put(card, kBom + input);
        FUZZ_CHECK(SchoolData::load(folder.path) == texts);
        FUZZ_CHECK(sameValues(CardPrintSettings::load(card), values));
        put(school, input);
        put(card, input);
    }

    const SchoolTexts saved{QStringLiteral("Istituto \u00C8 & 1"), QStringLiteral("Via Roma 1"),
                            QStringLiteral("Tel. 0123"), QStringLiteral("Nota")};
    FUZZ_CHECK(SchoolData::save(folder.path, saved));
    FUZZ_CHECK(SchoolData::load(folder.path) == saved);
    const QByteArray schoolAfter = get(school);
    FUZZ_CHECK(sectionCount(schoolAfter, "Scuola") == qMax(1, sectionCount(text, "Scuola")));

    FUZZ_CHECK(CardPrintSettings::saveTop(card, QStringLiteral("7"), true));
    const CardPrintSettings::Values after = CardPrintSettings::load(card);
    FUZZ_CHECK(after.top == QLatin1String("7") && after.landscape && after.left == values.left);
    const QByteArray cardAfter = get(card);
    FUZZ_CHECK(sectionCount(cardAfter, "Margini Stampa") == qMax(1, sectionCount(text, "Margini Stampa")));

    // The mark goes; a second one belongs to the text and stays.
    if (!text.startsWith(kBom)) {
        FUZZ_CHECK(!schoolAfter.startsWith(kBom));
        FUZZ_CHECK(!cardAfter.startsWith(kBom));
    }
    return 0;
}
