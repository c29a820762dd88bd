#include "settings/schooldata.h"

#include "archive/atomicfile.h"
#include "archive/fieldcodec.h"
#include "settings/inifile.h"


#include <array>

namespace {

const QString kSection = QStringLiteral("Scuola");

// The keys in the order they are written, with their texts.
std::array<std::pair<QString, QString SchoolTexts::*>, 4> keys()
{
    return {{{QStringLiteral("Denominazione"), &SchoolTexts::denominazione},
             {QStringLiteral("Indirizzo"), &SchoolTexts::indirizzo},
             {QStringLiteral("Recapiti"), &SchoolTexts::recapiti},
             {QStringLiteral("Note"), &SchoolTexts::note}}};
}

// A value is one line of the file: a line break typed into a text would cut
// it and turn its second half into a stray line.
QString oneLine(const QString &text)
{
    QString line = text;
    for (QChar &c : line)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return line;
}

} // namespace

namespace SchoolData {

QString settingsPath(const QString &folder)
{
    return folder + QStringLiteral("Lumetra.ini");
}

SchoolTexts defaults()
{
    return {QStringLiteral("Denominazione Scuola"), QStringLiteral("Indirizzo"), QStringLiteral("Recapiti"),
            QStringLiteral("Note")};
}

SchoolTexts trimmed(const SchoolTexts &texts)
{
    SchoolTexts result;
    for (const auto &[key, member] : keys())
        result.*member = FieldCodec::trimControls(texts.*member);
    return result;
}

SchoolTexts load(const QString &folder)
{
    QByteArray content;
    IniFile::load(settingsPath(folder), &content);
    const SchoolTexts fallback = defaults();
    SchoolTexts texts;
    for (const auto &[key, member] : keys()) {
        const QString value = IniFile::readFrom(content, kSection, key, QString());
        // An empty value reads as a missing one.
        texts.*member = value.isEmpty() ? fallback.*member : value;
    }
    return texts;
}

bool save(const QString &folder, const SchoolTexts &texts)
{
    const QString path = settingsPath(folder);
    QByteArray before;
    // A file that cannot be read is not replaced: its other keys would be lost.
    if (!IniFile::load(path, &before))
        return false;
    QByteArray after = before;
    for (const auto &[key, member] : keys())
        after = IniFile::writeTo(after, kSection, key, oneLine(FieldCodec::trimControls(texts.*member)));
    if (!before.isEmpty() && after == before)
        return true;
    return writeFileAtomically(path, after);
}

} // namespace SchoolData
