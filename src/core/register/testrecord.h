#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// One test of a student's tests file: 149 bytes, five length-prefixed 8-bit
// text fields back to back.
struct TProva
{
    enum Field { Data, Prova, Docente, Aula, Esito };
    static constexpr int FieldCount = 5;
    static constexpr int Size = 149;

    struct FieldLayout
    {
        Field field;
        int offset;       // of the length byte
        int capacity;     // characters; the field takes capacity + 1 bytes
        const char *control; // the edit of the tests window that shows it
    };
    static const std::array<FieldLayout, FieldCount> &layout();

    std::array<QString, FieldCount> fields;

    QString &operator[](Field f) { return fields[f]; }
    const QString &operator[](Field f) const { return fields[f]; }

    // Each field trimmed; bytes beyond a field's length are ignored. Fewer
    // than Size bytes give empty fields for what is missing.
    static TProva decode(const QByteArray &bytes);
    // Each field trimmed and cut to its capacity; unused bytes are zero.
    QByteArray encode() const;
};
