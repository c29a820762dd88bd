#include "import/importplan.h"

#include "archive/codepage.h"
#include "archive/fieldcodec.h"
#include "archive/studentarchive.h"
#include "checks/codicefiscale.h"
#include "checks/partitaiva.h"

#include <QDate>
#include <QRegularExpression>

namespace ImportChecks {

namespace {

using F = StudentRecord::Field;

QString twoDigits(const QString &n)
{
    return n.size() == 1 ? QLatin1Char('0') + n : n;
}

QString dateForm(const QString &text)
{
    static const QRegularExpression dayFirst(QStringLiteral("^(\\d{1,2})[/.-](\\d{1,2})[/.-](\\d{4})$"));
    static const QRegularExpression yearFirst(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    QRegularExpressionMatch m = dayFirst.match(text);
    if (m.hasMatch())
        return twoDigits(m.captured(1)) + QLatin1Char('/') + twoDigits(m.captured(2)) + QLatin1Char('/') + m.captured(3);
    m = yearFirst.match(text);
    if (m.hasMatch())
        return twoDigits(m.captured(3)) + QLatin1Char('/') + twoDigits(m.captured(2)) + QLatin1Char('/') + m.captured(1);
    return text;
}

QString sexForm(const QString &text)
{
    const QString lower = text.toLower();
    if (lower == QLatin1String("m") || lower == QLatin1String("maschio") || lower == QLatin1String("maschile"))
        return QStringLiteral("M");
    if (lower == QLatin1String("f") || lower == QLatin1String("femmina") || lower == QLatin1String("femminile"))
        return QStringLiteral("F");
    return CodiceFiscale::upperAscii(text);
}

} // namespace

const std::array<StudentRecord::Field, 6> &requiredFields()
{
    static const std::array<StudentRecord::Field, 6> fields = {F::Studente, F::Sesso, F::Corso,
                                                               F::Classe,   F::Inizio, F::Fine};
    return fields;
}

bool isDateField(int field)
{
    return field == F::DataNasc || field == F::Inizio || field == F::Fine || field == F::DataEsame;
}

QString codeKey(const QString &code)
{
    return CodiceFiscale::upperAscii(FieldCodec::trimControls(code));
}

StudentRecord card(const QStringList &cells, const QList<int> &mapping)
{
    StudentRecord card;
    QString surname, givenName;
    const qsizetype n = qMin(cells.size(), mapping.size());
    for (qsizetype c = 0; c < n; ++c) {
        const int target = mapping.at(c);
        const QString value = FieldCodec::trimControls(cells.at(c));
        if (target == ImportMapping::Surname)
            surname = value;
        else if (target == ImportMapping::GivenName)
            givenName = value;
        else if (target >= 0 && target < StudentRecord::FieldCount)
            card[F(target)] = value;
    }
    if (!surname.isEmpty() || !givenName.isEmpty())
        card[F::Studente] = (surname + QLatin1Char(' ') + givenName).trimmed();
    card[F::Sesso] = sexForm(card[F::Sesso]);
    card[F::CodFisc] = codeKey(card[F::CodFisc]);
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        if (isDateField(f))
            card[F(f)] = dateForm(card[F(f)]);
    return card;
}

QList<CellIssue> check(const StudentRecord &card, bool isNew)
{
    QList<CellIssue> issues;
    if (isNew)
        for (const F field : requiredFields())
            if (card[field].isEmpty())
                issues.append({field, QStringLiteral("Campo obbligatorio vuoto.")});
    const auto &layout = StudentRecord::layout();
    for (int f = 0; f < StudentRecord::FieldCount; ++f) {
        const QString &value = card[F(f)];
        if (value.isEmpty())
            continue;
        const QString unstorable = CodePage::unstorable(value);
        if (!unstorable.isEmpty())
            issues.append({f, QStringLiteral("Caratteri che l'archivio non può contenere: %1.").arg(unstorable)});
        const qsizetype length = CodePage::fromUnicode(value).size();
        if (length > layout[size_t(f)].capacity)
            issues.append({f, QStringLiteral("Testo troppo lungo: %1 caratteri, il campo ne contiene al massimo %2.")
                                  .arg(length)
                                  .arg(layout[size_t(f)].capacity)});
        if (isDateField(f) && !QDate::fromString(value, QStringLiteral("dd/MM/yyyy")).isValid())
            issues.append({f, QStringLiteral("Data non valida: si scrive gg/mm/aaaa, per esempio 05/09/2025.")});
    }
    const QString &code = card[F::CodFisc];
    if (!code.isEmpty()) {
        const bool digits = std::all_of(code.begin(), code.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
        if (code.size() == PartitaIva::Length && digits) {
            if (!PartitaIva::check(code))
                issues.append({F::CodFisc, QStringLiteral("Partita IVA non valida: la cifra di controllo non "
                                                          "corrisponde.")});
        } else if (code.size() == CodiceFiscale::Length) {
            if (!CodiceFiscale::check(code))
                issues.append({F::CodFisc, QStringLiteral("Codice fiscale non valido: il carattere di controllo "
                                                          "non corrisponde.")});
        } else {
            issues.append({F::CodFisc, QStringLiteral("Codice fiscale non valido: ha %1 caratteri invece di 16 (11 "
                                                      "cifre per una partita IVA).")
                                           .arg(code.size())});
        }
    }
    return issues;
}

} // namespace ImportChecks

ImportPlan::ArchiveCodes ImportPlan::readArchiveCodes(const QString &folder)
{
    ArchiveCodes codes;
    StudentArchive archive(folder);
    const qint64 n = archive.count();
    codes.count = n;
    constexpr qint64 kBlock = 1024;
    for (qint64 first = 1; first <= n; first += kBlock) {
        const qint64 k = qMin(kBlock, n - first + 1);
        const char *block = archive.viewBlock(first, k);
        for (qint64 i = 0; i < k; ++i) {
            const QString key = ImportChecks::codeKey(
                StudentRecord::decodeField(block + i * StudentRecord::Size, StudentRecord::CodFisc));
            if (!key.isEmpty())
                codes.byCode[key].append(first + i);
        }
    }
    archive.close();
    return codes;
}

ImportPlan::ImportPlan(ImportSheet sheet, ArchiveCodes codes)
    : m_sheet(std::move(sheet)), m_codes(std::move(codes))
{
    m_columns = int(m_sheet.header.size());
    m_rows.reserve(m_sheet.rows.size());
    for (ImportSheetRow &row : m_sheet.rows) {
        Row planned;
        planned.line = row.line;
        planned.cells = std::move(row.cells);
        m_columns = qMax(m_columns, int(planned.cells.size()));
        m_rows.push_back(std::move(planned));
    }
    m_sheet.rows.clear();
    for (Row &row : m_rows)
        while (row.cells.size() < m_columns)
            row.cells << QString();
    m_mapping = ImportMapping::guessAll(m_sheet.header);
    while (m_mapping.size() < m_columns)
        m_mapping << ImportMapping::Ignore;
    recompute();
}

void ImportPlan::setMapping(const QList<int> &mapping)
{
    m_mapping = mapping;
    while (m_mapping.size() < m_columns)
        m_mapping << ImportMapping::Ignore;
    recompute();
}

void ImportPlan::setUpdatesDuplicates(bool update)
{
    m_update = update;
    recompute();
}

void ImportPlan::setCell(int row, int column, const QString &text)
{
    if (row < 0 || size_t(row) >= m_rows.size() || column < 0 || column >= m_columns)
        return;
    m_rows[size_t(row)].cells[column] = text;
    recompute();
}

void ImportPlan::recompute()
{
    QHash<QString, int> firstLine;
    for (Row &row : m_rows) {
        row.card = ImportChecks::card(row.cells, m_mapping);
        row.number = 0;
        row.skipReason.clear();
        const QString key = row.card[StudentRecord::CodFisc];
        const auto stored = key.isEmpty() ? m_codes.byCode.constEnd() : m_codes.byCode.constFind(key);
        const bool inArchive = stored != m_codes.byCode.constEnd();
        const bool update = inArchive && m_update && stored->size() == 1;
        row.issues = ImportChecks::check(row.card, !update);
        if (!key.isEmpty()) {
            const auto earlier = firstLine.constFind(key);
            if (earlier != firstLine.constEnd()) {
                row.status = Status::Duplicate;
                row.skipReason = QStringLiteral("Codice fiscale già presente alla riga %1 del foglio.").arg(*earlier);
                continue;
            }
            firstLine.insert(key, row.line);
        }
        if (!row.issues.isEmpty()) {
            row.status = Status::Invalid;
        } else if (inArchive && stored->size() > 1) {
            row.status = Status::Duplicate;
            row.skipReason = QStringLiteral("Codice fiscale presente in più schede dell'archivio (n. %1): nessuna "
                                            "viene aggiornata.")
                                 .arg([&] {
                                     QStringList numbers;
                                     for (const qint64 n : *stored)
                                         numbers << QString::number(n);
                                     return numbers.join(QStringLiteral(", "));
                                 }());
        } else if (inArchive) {
            row.number = stored->constFirst();
            row.status = m_update ? Status::Update : Status::Duplicate;
            if (!m_update)
                row.skipReason = QStringLiteral("Codice fiscale già in archivio (scheda n. %1).").arg(row.number);
        } else {
            row.status = Status::New;
        }
    }
}

QList<int> ImportPlan::columnsOf(int target) const
{
    QList<int> columns;
    for (int c = 0; c < m_mapping.size(); ++c) {
        const int t = m_mapping.at(c);
        if (t == target
            || (target == StudentRecord::Studente && (t == ImportMapping::Surname || t == ImportMapping::GivenName)))
            columns << c;
    }
    return columns;
}

QString ImportPlan::cellIssues(int row, int column) const
{
    if (row < 0 || size_t(row) >= m_rows.size() || column < 0 || column >= m_mapping.size())
        return {};
    QStringList reasons;
    for (const CellIssue &issue : m_rows[size_t(row)].issues)
        if (columnsOf(issue.target).contains(column))
            reasons << issue.reason;
    return reasons.join(QLatin1Char('\n'));
}

QString ImportPlan::rowProblem(int row) const
{
    if (row < 0 || size_t(row) >= m_rows.size())
        return {};
    const Row &r = m_rows[size_t(row)];
    if (r.status == Status::Duplicate)
        return r.skipReason;
    QStringList reasons;
    for (const CellIssue &issue : r.issues) {
        // "Codice fiscale non valido: ..." names its field already.
        const QString field = ImportMapping::caption(issue.target);
        reasons << (issue.reason.startsWith(field) ? issue.reason : field + QStringLiteral(": ") + issue.reason);
    }
    return reasons.join(QLatin1Char(' '));
}

int ImportPlan::count(Status status) const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [status](const Row &r) { return r.status == status; }));
}
