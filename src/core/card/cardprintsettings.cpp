#include "card/cardprintsettings.h"

#include "archive/atomicfile.h"
#include "archive/fieldcodec.h"
#include "settings/inifile.h"

#include <QRegularExpression>

#include <cmath>

namespace {

const QString MarginsSection = QStringLiteral("Margini Stampa");
const QString TopKey = QStringLiteral("Superiore");
const QString LeftKey = QStringLiteral("Sinistro");
const QString PrintSection = QStringLiteral("Stampa Tesserino");
const QString OrientationKey = QStringLiteral("Orientamento");
const QString Portrait = QStringLiteral("Verticale");
const QString Landscape = QStringLiteral("Orizzontale");

// Sets the margin's key and then the orientation, in one replacement of the
// file, so that a failure leaves the file as it was.
bool saveMargin(const QString &path, const QString &key, const QString &value, bool landscape)
{
    QByteArray content;
    if (!IniFile::load(path, &content))
        return false;
    content = IniFile::writeTo(content, MarginsSection, key, FieldCodec::trimControls(value));
    content = IniFile::writeTo(content, PrintSection, OrientationKey, landscape ? Landscape : Portrait);
    return writeFileAtomically(path, content);
}

struct Parts
{
    bool negative = false;
    QString whole;
    QString decimals;
    bool hasComma = false;
};

std::optional<Parts> split(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^([+-]?)([0-9]*)(,([0-9]*))?$"));
    const QString trimmed = FieldCodec::trimControls(text);
    const auto match = number.match(trimmed);
    if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(4).isEmpty()))
        return std::nullopt;
    Parts parts;
    parts.negative = match.captured(1) == QLatin1String("-");
    parts.whole = match.captured(2);
    parts.hasComma = match.capturedLength(3) > 0;
    parts.decimals = match.captured(4);
    return parts;
}

} // namespace

namespace CardPrintSettings {

QString fileName()
{
    return QStringLiteral("Tesserini.ini");
}

Values load(const QString &path)
{
    Values values;
    values.top = IniFile::read(path, MarginsSection, TopKey);
    values.left = IniFile::read(path, MarginsSection, LeftKey);
    const QString orientation = FieldCodec::trimControls(IniFile::read(path, PrintSection, OrientationKey));
    values.landscape = orientation == Landscape;
    if (FieldCodec::trimControls(values.top).isEmpty())
        values.top = QStringLiteral("0");
    if (FieldCodec::trimControls(values.left).isEmpty())
        values.left = QStringLiteral("0");
    return values;
}

bool saveTop(const QString &path, const QString &top, bool landscape)
{
    return saveMargin(path, TopKey, top, landscape);
}

bool saveLeft(const QString &path, const QString &left, bool landscape)
{
    return saveMargin(path, LeftKey, left, landscape);
}

} // namespace CardPrintSettings

namespace CardMargin {

std::optional<double> parse(const QString &text)
{
    const auto parts = split(text);
    if (!parts)
        return std::nullopt;
    const QString c = (parts->negative ? QStringLiteral("-") : QString())
                      + (parts->whole.isEmpty() ? QStringLiteral("0") : parts->whole) + QLatin1Char('.')
                      + (parts->decimals.isEmpty() ? QStringLiteral("0") : parts->decimals);
    bool ok = false;
    const double value = c.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QString> step(const QString &text, int delta)
{
    const auto parts = split(text);
    if (!parts)
        return std::nullopt;
    // Counted exactly in units of the last decimal typed.
    QString digits = parts->whole + parts->decimals;
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    const int decimals = int(parts->decimals.size());
    if (digits.size() > 17 || decimals > 9)
        return std::nullopt;
    qint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    qint64 units = digits.toLongLong();
    if (parts->negative)
        units = -units;
    units += qint64(delta) * scale;

    const bool negative = units < 0;
    const quint64 size = negative ? quint64(-units) : quint64(units);
    QString out = negative ? QStringLiteral("-") : QString();
    out += QString::number(size / quint64(scale));
    if (parts->hasComma && decimals > 0)
        out += QLatin1Char(',') + QString::number(size % quint64(scale)).rightJustified(decimals, QLatin1Char('0'));
    return out;
}

} // namespace CardMargin
