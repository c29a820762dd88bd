#pragma once

// What the export tests share: the sheet built from its fragments, card
// builders, and the export window driven as the operator drives it.

#include "export/tfrmexpstudenti.h"

#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "base/widgets.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QTableView>

#include <initializer_list>
#include <memory>

using R = StudentRecord;
using SheetRow = QList<QByteArray>;
using SheetRows = QList<SheetRow>;

// The fields of the sheet's 25 columns, left to right.
inline const QList<R::Field> &sheetFields()
{
    static const QList<R::Field> fields{
        R::Studente, R::DataNasc, R::Cittadinanza, R::LuogoNasc, R::Indirizzo, R::Citta, R::Cap,
        R::Nazione, R::CodFisc, R::Civile, R::Esercente, R::Studio, R::Lingue, R::Email, R::Tel,
        R::Cel, R::Corso, R::Classe, R::Inizio, R::Fine, R::Assenze, R::Commissione, R::DataEsame,
        R::Esito, R::Note};
    return fields;
}

// One sheet row: the given cells (already as the file holds them), the rest empty.
inline SheetRow sheetRow(std::initializer_list<QPair<R::Field, QByteArray>> cells)
{
    SheetRow row(25);
    for (const auto &cell : cells)
        row[sheetFields().indexOf(cell.first)] = cell.second;
    return row;
}

// The export file as the fragment list gives it, rows as the file holds them.
inline QByteArray expectedSheet(const SheetRows &rows)
{
    QByteArray file = "<html";
    file += " xmlns:o=\"urn:schemas-microsoft-com:office:office\"";
    file += " xmlns:x=\"urn:schemas-microsoft-com:office:excel\"";
    file += " xmlns=\"http://www.w3.org/TR/REC-html40\"";
    file += ">";
    const char *const head[] = {
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
        "<!--[if gte mso 9]><xml>",
        "<x:ExcelWorkbook>",
        "<x:ExcelWorksheets>",
        "<x:ExcelWorksheet>",
        "<x:Name>Archivio Studenti</x:Name>",
        "<x:WorksheetOptions>",
        "<x:Selected/>",
        "<x:Panes>",
        "<x:Pane>",
        "<x:Number>1</x:Number>",
        "<x:ActiveRow>3</x:ActiveRow>",
        "</x:Pane>",
        "</x:Panes>",
        "<x:ProtectContents>False</x:ProtectContents>",
        "<x:ProtectObjects>False</x:ProtectObjects>",
        "<x:ProtectScenarios>False</x:ProtectScenarios>",
        "</x:WorksheetOptions>",
        "</x:ExcelWorksheet>",
        "</x:ExcelWorksheets>",
        "</x:ExcelWorkbook>",
        "</xml><![endif]-->",
        "</head>",
        "<body>",
        "<table x:str>",
    };
    for (const char *fragment : head)
        file += fragment;

    // Windows-1252: a grave accent is one byte.
    const QPair<const char *, int> captions[] = {
        {"Cognome e nome", 250}, {"Data nascita", 200}, {"Cittadinanza", 250}, {"Luogo nascita", 250},
        {"Indirizzo", 300}, {"Citt\xE0", 250}, {"CAP", 200}, {"Nazione", 250}, {"Codice fiscale", 250},
        {"Stato civile", 250}, {"Esercente potest\xE0", 350}, {"Titolo di studio", 350},
        {"Lingue conosciute", 350}, {"E-mail", 250}, {"Tel. casa", 200}, {"Tel. cellulare", 200},
        {"Corso", 350}, {"Classe", 200}, {"Data inizio", 200}, {"Data fine", 200}, {"Assenze", 350},
        {"Commissione esame finale", 400}, {"Data esame", 200}, {"Esito", 250}, {"Note", 400}};
    file += "<tr>";
    for (const auto &caption : captions)
        file += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(caption.second)
                + ">" + caption.first + "</td>";
    file += "</tr>";

    for (const SheetRow &row : rows) {
        file += "<tr>";
        for (const QByteArray &cell : row)
            file += "<td style=\"text-align: left;\">" + cell + "</td>";
        file += "</tr>";
    }
    file += "</table>";
    file += "</body>";
    file += "</html>";
    return file;
}

inline SheetRows emptyRows(int n)
{
    return SheetRows(n, SheetRow(25));
}

// A card with only the given fields set.
inline StudentRecord cardWith(std::initializer_list<QPair<R::Field, QString>> fields)
{
    StudentRecord record;
    for (const auto &field : fields)
        record[field.first] = field.second;
    return record;
}

inline QByteArray encoded(const QList<StudentRecord> &cards)
{
    QByteArray bytes;
    for (const StudentRecord &card : cards)
        bytes += card.encode();
    return bytes;
}

// Stores raw bytes in a field of an encoded record, with the given length
// byte: for what the program itself never writes (untrimmed text, controls,
// a length above the capacity).
inline void putRaw(QByteArray &record, R::Field field, const QByteArray &bytes, int lengthByte = -1)
{
    const R::FieldSpec &item = R::layout()[field];
    record[item.offset] = char(lengthByte < 0 ? bytes.size() : lengthByte);
    for (int i = 0; i < item.capacity; ++i)
        record[item.offset + 1 + i] = i < bytes.size() ? bytes[i] : '\0';
}

// The export window over a test folder, driven with the mouse and the keyboard.
struct ExportWindow
{
    TestFolder folder;
    std::unique_ptr<TfrmExpStudenti> window;

    QString archivePath() const { return StudentFiles::archivePath(folder.folder); }
    QString sheetPath() const { return folder.path(QStringLiteral("Archivio_Studenti.xls")); }
    QByteArray sheet() const { return folder.readFile(QStringLiteral("Archivio_Studenti.xls")); }
    void writeArchive(const QByteArray &bytes) const { folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), bytes); }

    // A new window, shown and active (the archive is read as it is shown).
    bool open()
    {
        window = std::make_unique<TfrmExpStudenti>(folder.context);
        return showActive(*window);
    }
    QTableView *grid() const { return findControl<QTableView>(window.get(), QStringLiteral("grdRecords")); }
    QString cell(int row, int column) const
    {
        return grid()->model()->index(row, column).data().toString();
    }
    void click(const QString &picture) const
    {
        QTest::mouseClick(findControl<PictureBox>(window.get(), picture), Qt::LeftButton);
    }
    // Answers both questions with yes unless told.
    void exportSheet(bool first = true, bool second = true)
    {
        folder.platform.confirmAnswers.clear();
        folder.platform.confirmAnswers << first << second;
        click(QStringLiteral("cmdEsporta"));
    }
    QStringList folderEntries() const
    {
        return QDir(folder.folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                             QDir::Name);
    }
};

Q_DECLARE_METATYPE(SheetRows)
