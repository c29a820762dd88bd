#include "studentrecord.h"

#include "fieldcodec.h"

const std::array<StudentRecord::FieldSpec, StudentRecord::FieldCount> &StudentRecord::layout()
{
    static const std::array<FieldSpec, FieldCount> specs = {{
        {"Studente", 50, 0},        {"Sesso", 1, 51},          {"DataNasc", 10, 53},
        {"Cittadinanza", 50, 64},   {"LuogoNasc", 50, 115},    {"Indirizzo", 120, 166},
        {"Citta", 50, 287},         {"Cap", 10, 338},          {"Nazione", 50, 349},
        {"CodFisc", 16, 400},       {"Civile", 50, 417},       {"Esercente", 120, 468},
        {"Studio", 120, 589},       {"Lingue", 120, 710},      {"Email", 50, 831},
        {"Tel", 30, 882},           {"Cel", 30, 913},          {"Corso", 50, 944},
        {"Classe", 50, 995},        {"Inizio", 10, 1046},      {"Fine", 10, 1057},
        {"Assenze", 250, 1068},     {"Commissione", 250, 1319}, {"DataEsame", 10, 1570},
        {"Esito", 50, 1581},        {"Note", 250, 1632},       {"File01", 250, 1883},
        {"File02", 250, 2134},      {"File03", 250, 2385},     {"Desc01", 250, 2636},
        {"Desc02", 250, 2887},      {"Desc03", 250, 3138},
    }};
    return specs;
}

QString StudentRecord::controlName(Field f)
{
    const QString name = QString::fromLatin1(layout()[f].name);
    return (f >= File01 ? QStringLiteral("lbl") : QStringLiteral("txt")) + name;
}

StudentRecord StudentRecord::decode(const QByteArray &bytes)
{
    Q_ASSERT(bytes.size() >= Size);
    return decode(bytes.constData());
}

StudentRecord StudentRecord::decode(const char *bytes)
{
    StudentRecord record;
    for (int f = 0; f < FieldCount; ++f)
        record.m_values[f] = decodeField(bytes, Field(f));
    return record;
}

QString StudentRecord::decodeField(const char *record, Field f)
{
    const FieldSpec &item = layout()[f];
    return FieldCodec::decode(record + item.offset, item.capacity);
}

QByteArray StudentRecord::encode() const
{
    QByteArray bytes(Size, '\0');
    for (int f = 0; f < FieldCount; ++f) {
        const FieldSpec &item = layout()[f];
        FieldCodec::encode(m_values[f], bytes.data() + item.offset, item.capacity);
    }
    return bytes;
}
