#include "register/testlist.h"

#include "archive/fieldcodec.h"

namespace {

QString fixed(const QString &text, int width)
{
    return FieldCodec::trimControls(text).left(width).leftJustified(width, QLatin1Char(' '));
}

} // namespace

namespace TestList {

QString line(const TProva &test)
{
    return fixed(test[TProva::Prova], 45)
        + QStringLiteral("   Data: ") + fixed(test[TProva::Data], 10)
        + QStringLiteral("  Docente: ") + fixed(test[TProva::Docente], 24)
        + QStringLiteral("  Aula: ") + fixed(test[TProva::Aula], 20)
        + QStringLiteral("  Esito: ") + FieldCodec::trimControls(test[TProva::Esito]);
}

QString lowerAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return result;
}

} // namespace TestList

int TestListFinder::find(const QStringList &entries, int selected, const QString &text)
{
    const QString needle = TestList::lowerAscii(text);
    const bool fresh = needle != m_last;
    m_last = needle;
    const int n = int(entries.size());
    if (n == 0 || needle.isEmpty())
        return -1;
    const auto matches = [&](int i) { return TestList::lowerAscii(entries.at(i)).contains(needle); };

    const int start = fresh ? 0 : qBound(0, selected, n - 1);
    if (fresh && matches(start))
        return start;
    int i = start;
    do {
        i = (i + 1) % n;
        if (matches(i))
            return i;
    } while (i != start);
    return -1;
}
