#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// One student card as stored in the archive: 32 length-prefixed fields,
// 3389 bytes, in this order.
class StudentRecord
{
public:
    enum Field {
        Studente, Sesso, DataNasc, Cittadinanza, LuogoNasc, Indirizzo, Citta, Cap,
        Nazione, CodFisc, Civile, Esercente, Studio, Lingue, Email, Tel, Cel, Corso,
        Classe, Inizio, Fine, Assenze, Commissione, DataEsame, Esito, Note,
        File01, File02, File03, Desc01, Desc02, Desc03,
        FieldCount
    };

    struct FieldSpec
    {
        const char *name;
        int capacity;
        int offset; // of the length byte within the record
    };

    static constexpr int Size = 3389;
    static const std::array<FieldSpec, FieldCount> &layout();

    // The edit showing field f in the student window ("txtStudente"), or the
    // hidden label for the attachment fields ("lblFile01").
    static QString controlName(Field f);

    static StudentRecord decode(const QByteArray &bytes);
    static StudentRecord decode(const char *bytes);
    // Decodes one field straight from record bytes, for scans that need few.
    static QString decodeField(const char *record, Field f);
    QByteArray encode() const;

    const QString &operator[](Field f) const { return m_values[f]; }
    QString &operator[](Field f) { return m_values[f]; }

    bool operator==(const StudentRecord &other) const { return m_values == other.m_values; }
    bool operator!=(const StudentRecord &other) const { return !(*this == other); }

private:
    std::array<QString, FieldCount> m_values;
};
