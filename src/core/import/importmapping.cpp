#include "import/importmapping.h"

#include <QHash>

namespace ImportMapping {

namespace {

using F = StudentRecord::Field;

struct Caption
{
    F field;
    const char *caption; // UTF-8
};

// The 26 fields of the student window in its tab order, with the captions
// the export gives them.
const Caption kFields[] = {
    {F::Studente, "Cognome e nome"}, {F::Sesso, "Sesso"}, {F::DataNasc, "Data nascita"},
    {F::Cittadinanza, "Cittadinanza"}, {F::LuogoNasc, "Luogo nascita"}, {F::Indirizzo, "Indirizzo"},
    {F::Citta, "Città"}, {F::Cap, "CAP"}, {F::Nazione, "Nazione"}, {F::CodFisc, "Codice fiscale"},
    {F::Civile, "Stato civile"}, {F::Esercente, "Esercente potestà"}, {F::Studio, "Titolo di studio"},
    {F::Lingue, "Lingue conosciute"}, {F::Email, "E-mail"}, {F::Tel, "Tel. casa"},
    {F::Cel, "Tel. cellulare"}, {F::Corso, "Corso"}, {F::Classe, "Classe"}, {F::Inizio, "Data inizio"},
    {F::Fine, "Data fine"}, {F::Assenze, "Assenze"}, {F::Commissione, "Commissione esame finale"},
    {F::DataEsame, "Data esame"}, {F::Esito, "Esito"}, {F::Note, "Note"},
};

// Other names schools' lists give the fields, already normalised.
struct Synonym
{
    const char *name;
    int target;
};

const Synonym kSynonyms[] = {
    {"cognomenome", F::Studente}, {"nominativo", F::Studente}, {"studente", F::Studente},
    {"alunno", F::Studente}, {"allievo", F::Studente}, {"nomeecognome", F::Studente},
    {"nomecognome", F::Studente}, {"nomecompleto", F::Studente}, {"partecipante", F::Studente},
    {"cognome", Surname}, {"nome", GivenName},
    {"genere", F::Sesso}, {"mf", F::Sesso},
    {"datadinascita", F::DataNasc}, {"natoil", F::DataNasc}, {"natail", F::DataNasc},
    {"nataoil", F::DataNasc}, {"nascita", F::DataNasc}, {"datanasc", F::DataNasc},
    {"nazionalita", F::Cittadinanza},
    {"luogodinascita", F::LuogoNasc}, {"natoa", F::LuogoNasc}, {"nataa", F::LuogoNasc},
    {"comunedinascita", F::LuogoNasc}, {"comunenascita", F::LuogoNasc},
    {"indirizzoresidenza", F::Indirizzo}, {"indirizzodiresidenza", F::Indirizzo}, {"via", F::Indirizzo},
    {"residenza", F::Indirizzo},
    {"comune", F::Citta}, {"comunediresidenza", F::Citta}, {"cittadiresidenza", F::Citta},
    {"localita", F::Citta},
    {"codicepostale", F::Cap},
    {"paese", F::Nazione}, {"stato", F::Nazione},
    {"cf", F::CodFisc}, {"codfisc", F::CodFisc}, {"codfiscale", F::CodFisc}, {"partitaiva", F::CodFisc},
    {"piva", F::CodFisc}, {"codicefiscalepartitaiva", F::CodFisc},
    {"esercentelapotesta", F::Esercente}, {"genitore", F::Esercente}, {"tutore", F::Esercente},
    {"titolostudio", F::Studio}, {"studi", F::Studio},
    {"lingue", F::Lingue},
    {"mail", F::Email}, {"postaelettronica", F::Email}, {"indirizzoemail", F::Email},
    {"telefono", F::Tel}, {"tel", F::Tel}, {"telefonocasa", F::Tel}, {"telefonofisso", F::Tel},
    {"cellulare", F::Cel}, {"cell", F::Cel}, {"cel", F::Cel}, {"telcell", F::Cel}, {"mobile", F::Cel},
    {"telefonocellulare", F::Cel}, {"numerodicellulare", F::Cel},
    {"corsofrequentato", F::Corso}, {"sezione", F::Classe},
    {"iniziocorso", F::Inizio}, {"inizio", F::Inizio}, {"datainiziocorso", F::Inizio},
    {"finecorso", F::Fine}, {"fine", F::Fine}, {"datafinecorso", F::Fine},
    {"commissione", F::Commissione}, {"commissioneesame", F::Commissione},
    {"esitoesame", F::Esito}, {"esitofinale", F::Esito},
    {"annotazioni", F::Note}, {"osservazioni", F::Note},
    // The export's record number column.
    {"n", Ignore}, {"numero", Ignore},
};

const QHash<QString, int> &known()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> names;
        for (const Synonym &s : kSynonyms)
            names.insert(QString::fromLatin1(s.name), s.target);
        for (const Caption &c : kFields)
            names.insert(normalise(QString::fromUtf8(c.caption)), c.field);
        // The student window's own captions where they differ.
        names.insert(QStringLiteral("indirizzoresidenza"), F::Indirizzo);
        names.insert(QStringLiteral("datanascita"), F::DataNasc);
        return names;
    }();
    return table;
}

} // namespace

const QList<Choice> &choices()
{
    static const QList<Choice> list = [] {
        QList<Choice> all{{Ignore, caption(Ignore)}};
        for (const Caption &c : kFields)
            all.append({c.field, QString::fromUtf8(c.caption)});
        all.append({Surname, caption(Surname)});
        all.append({GivenName, caption(GivenName)});
        return all;
    }();
    return list;
}

QString caption(int target)
{
    if (target == Surname)
        return QStringLiteral("Cognome");
    if (target == GivenName)
        return QStringLiteral("Nome");
    for (const Caption &c : kFields)
        if (c.field == target)
            return QString::fromUtf8(c.caption);
    return QStringLiteral("(non importare)");
}

QString normalise(const QString &header)
{
    const QString decomposed = header.normalized(QString::NormalizationForm_KD);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.isLetterOrNumber())
            plain += c.toCaseFolded();
    return plain;
}

int guess(const QString &header)
{
    return known().value(normalise(header), Ignore);
}

QList<int> guessAll(const QStringList &header)
{
    QList<int> targets;
    QList<int> taken;
    for (const QString &name : header) {
        int target = guess(name);
        if (target != Ignore && taken.contains(target))
            target = Ignore;
        if (target != Ignore)
            taken << target;
        targets << target;
    }
    const bool nameField = taken.contains(F::Studente);
    const bool surname = taken.contains(Surname);
    for (int &target : targets) {
        // A name field already there: the parts would fill it twice.
        if (nameField && (target == Surname || target == GivenName))
            target = Ignore;
        // "Nome" alone is the whole name.
        else if (!nameField && !surname && target == GivenName)
            target = F::Studente;
    }
    return targets;
}

} // namespace ImportMapping
