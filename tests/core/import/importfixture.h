#pragma once

// What the import tests share: valid codici fiscali, sheets written as
// files, and cards put into an archive.

#include "archive/studentarchive.h"
#include "archive/studentrecord.h"
#include "checks/codicefiscale.h"
#include "import/importstore.h"

#include <QString>
#include <QStringList>

// A codice fiscale that passes the check, different for every n.
inline QString validCode(int n)
{
    const QString first15 = QStringLiteral("RSSMRA") + QStringLiteral("%1").arg(n, 9, 10, QLatin1Char('0'));
    return first15 + CodiceFiscale::expectedCheckCharacter(first15);
}

// The same with a wrong check character.
inline QString wrongCode(int n)
{
    const QString good = validCode(n);
    return good.left(15) + (good.back() == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A'));
}

// A card with the six required fields and the codice fiscale.
inline StudentRecord storedCard(const QString &name, const QString &code)
{
    StudentRecord card;
    card[StudentRecord::Studente] = name;
    card[StudentRecord::Sesso] = QStringLiteral("F");
    card[StudentRecord::Corso] = QStringLiteral("Corso in archivio");
    card[StudentRecord::Classe] = QStringLiteral("2B");
    card[StudentRecord::Inizio] = QStringLiteral("01/09/2024");
    card[StudentRecord::Fine] = QStringLiteral("30/06/2025");
    card[StudentRecord::CodFisc] = code;
    card[StudentRecord::Note] = QStringLiteral("Nota scritta a mano");
    return card;
}

// The header every generated sheet has.
inline QStringList classHeader()
{
    return {QStringLiteral("Cognome"), QStringLiteral("Nome"), QStringLiteral("Sesso"), QStringLiteral("CF"),
            QStringLiteral("Corso"), QStringLiteral("Classe"), QStringLiteral("Data inizio"),
            QStringLiteral("Data fine"), QStringLiteral("Città")};
}

// A row under classHeader().
inline QStringList classRow(const QString &surname, const QString &code, const QString &course = QStringLiteral("Informatica"))
{
    return {surname, QStringLiteral("Anna"), QStringLiteral("F"), code, course, QStringLiteral("1A"),
            QStringLiteral("01/09/2025"), QStringLiteral("30/06/2026"), QStringLiteral("Perugia")};
}

// The sheet as ImportPlan takes it, rows numbered from line 2.
inline ImportSheet sheetOf(const QStringList &header, const QList<QStringList> &rows)
{
    ImportSheet sheet;
    sheet.header = header;
    int line = 1;
    for (const QStringList &row : rows)
        sheet.rows.push_back({++line, row});
    return sheet;
}

// The UTF-8 CSV text of a sheet, semicolons, fields quoted where needed.
inline QByteArray csvOf(const QStringList &header, const QList<QStringList> &rows)
{
    const auto line = [](const QStringList &cells) {
        QStringList quoted;
        for (QString cell : cells) {
            if (cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"')) || cell.contains(QLatin1Char('\n')))
                cell = QLatin1Char('"') + cell.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
            quoted << cell;
        }
        return quoted.join(QLatin1Char(';')).toUtf8() + "\r\n";
    };
    QByteArray text = line(header);
    for (const QStringList &row : rows)
        text += line(row);
    return text;
}
