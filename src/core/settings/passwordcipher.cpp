#include "settings/passwordcipher.h"

#include "settings/inifile.h"
#include "archive/fieldcodec.h"

#include <QByteArray>
#include <QList>

namespace {

constexpr quint16 kStartKey = 33927;
constexpr int kMaxLength = 255;

quint16 nextKey(quint8 cipherByte, quint16 key)
{
    return quint16((quint16(cipherByte + key) * 37189u + 39461u) & 0xFFFFu);
}

int hexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");

} // namespace

QString EncodePassword(const QString &plain)
{
    static const char digits[] = "0123456789ABCDEF";
    const QList<uint> codes = plain.toUcs4();
    QString hex;
    hex.reserve(codes.size() * 2);
    quint16 key = kStartKey;
    for (const uint code : codes) {
        // The low 8 bits of the character's code, as every workstation stores it.
        const quint8 c = quint8(quint8(code & 0xFF) ^ quint8(key >> 8));
        hex.append(QLatin1Char(digits[c >> 4]));
        hex.append(QLatin1Char(digits[c & 0xF]));
        key = nextKey(c, key);
    }
    return hex;
}

bool DecodePassword(const QString &hex, QString *plain)
{
    const int pairs = int(hex.size() / 2);
    QString decoded(pairs, Qt::Uninitialized);
    quint16 key = kStartKey;
    for (int i = 0; i < pairs; ++i) {
        const int high = hexDigit(hex[2 * i]);
        const int low = hexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        const quint8 c = quint8(high * 16 + low);
        decoded[i] = QChar(char16_t(c ^ quint8(key >> 8)));
        key = nextKey(c, key);
    }
    *plain = decoded;
    return true;
}

namespace PasswordStore {

QString normalise(const QString &typed)
{
    QString out = FieldCodec::trimControls(typed);
    for (QChar &ch : out)
        if (ch >= u'a' && ch <= u'z')
            ch = QChar(ch.unicode() - u'a' + u'A');
    return out;
}

bool canCarry(const QString &password)
{
    if (password.size() > kMaxLength)
        return false;
    // Above 255 the low 8 bits would stand for another character.
    for (const QChar ch : password)
        if (ch.unicode() > 0xFF)
            return false;
    return true;
}

QString path(const QString &folder)
{
    return folder + QStringLiteral("unins000.dll");
}

QString readValue(const QString &folder)
{
    return IniFile::read(path(folder), kSection, kKey, QString());
}

bool readPassword(const QString &folder, QString *stored)
{
    QString plain;
    if (!DecodePassword(readValue(folder), &plain))
        return false;
    *stored = FieldCodec::trimControls(plain);
    return true;
}

bool writePassword(const QString &folder, const QString &password)
{
    return IniFile::write(path(folder), kSection, kKey, EncodePassword(password));
}

} // namespace PasswordStore
