#include "register/testrecord.h"

#include "archive/fieldcodec.h"

const std::array<TProva::FieldLayout, TProva::FieldCount> &TProva::layout()
{
    static const std::array<FieldLayout, FieldCount> table = {{
        {Data, 0, 10, "txtData"},
        {Prova, 11, 50, "txtProva"},
        {Docente, 62, 28, "txtDocente"},
        {Aula, 91, 28, "txtAula"},
        {Esito, 120, 28, "txtEsito"},
    }};
    return table;
}

TProva TProva::decode(const QByteArray &bytes)
{
    TProva test;
    for (const FieldLayout &f : layout()) {
        if (bytes.size() < f.offset + f.capacity + 1)
            continue;
        test.fields[f.field] = FieldCodec::decode(bytes.constData() + f.offset, f.capacity);
    }
    return test;
}

QByteArray TProva::encode() const
{
    QByteArray bytes(Size, '\0');
    for (const FieldLayout &f : layout())
        FieldCodec::encode(fields[f.field], bytes.data() + f.offset, f.capacity);
    return bytes;
}
