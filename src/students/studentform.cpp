#include "studentform.h"

#include "archive/archivebrowse.h"
#include "archive/fieldcodec.h"

namespace StudentForm {

using F = StudentRecord::Field;

const std::array<EditSpec, EditCount> &edits()
{
    static const std::array<EditSpec, EditCount> specs = {{
        {F::Studente, 364, 164, 240, "lblCampo001", "Cognome e nome:", true},
        {F::Sesso, 610, 164, 64, "lblCampo010", "Sesso:", false},
        {F::DataNasc, 680, 164, 108, "lblCampo003", "Data nascita:", false},
        {F::Cittadinanza, 794, 164, 170, "lblCampo011", "Cittadinanza:", false},
        {F::LuogoNasc, 364, 212, 240, "lblCampo012", "Luogo nascita:", false},
        {F::Indirizzo, 610, 212, 354, "lblCampo002", "Indirizzo residenza:", false},
        {F::Citta, 364, 260, 240, "lblCampo015", "Città:", false},
        {F::Cap, 610, 260, 90, "lblCampo009", "CAP:", false},
        {F::Nazione, 706, 260, 258, "lblCampo013", "Nazione:", false},
        {F::CodFisc, 364, 308, 214, "lblCampo004", "Codice fiscale:", false},
        {F::Civile, 610, 308, 174, "lblCampo016", "Stato civile:", false},
        {F::Esercente, 790, 308, 174, "lblCampo014", "Esercente potestà:", false},
        {F::Studio, 364, 356, 240, "lblCampo017", "Titolo di studio:", false},
        {F::Lingue, 610, 356, 354, "lblCampo005", "Lingue conosciute:", false},
        {F::Email, 364, 404, 214, "lblCampo020", "E-mail:", false},
        {F::Tel, 610, 404, 174, "lblCampo022", "Tel. casa:", false},
        {F::Cel, 790, 404, 174, "lblCampo023", "Tel. cellulare:", false},
        {F::Corso, 364, 452, 240, "lblCampo021", "Corso:", true},
        {F::Classe, 610, 452, 122, "lblCampo007", "Classe:", true},
        {F::Inizio, 738, 452, 110, "lblCampo024", "Data inizio:", true},
        {F::Fine, 854, 452, 110, "lblCampo008", "Data fine:", true},
        {F::Assenze, 364, 500, 600, "lblCampo025", "Assenze:", false},
        {F::Commissione, 364, 548, 297, "lblCampo018", "Commissione esame finale:", false},
        {F::DataEsame, 667, 548, 145, "lblCampo006", "Data esame:", false},
        {F::Esito, 818, 548, 146, "lblCampo019", "Esito:", false},
        {F::Note, 32, 596, 708, "lblCampo026", "Note:", false},
    }};
    return specs;
}

const std::array<RequiredField, 6> &requiredFields()
{
    static const std::array<RequiredField, 6> fields = {{
        {F::Studente, "Attenzione: per salvare la scheda è necessario indicare cognome e nome dello studente."},
        {F::Sesso, "Attenzione: per salvare la scheda è necessario indicare il sesso dello studente (M o F)."},
        {F::Corso, "Attenzione: per salvare la scheda è necessario indicare il corso frequentato dallo studente."},
        {F::Classe, "Attenzione: per salvare la scheda è necessario indicare la classe dello studente."},
        {F::Inizio, "Attenzione: per salvare la scheda è necessario indicare la data di inizio corso."},
        {F::Fine, "Attenzione: per salvare la scheda è necessario indicare la data di fine corso."},
    }};
    return fields;
}

std::optional<RequiredField> firstMissing(const StudentRecord &card)
{
    for (const RequiredField &required : requiredFields())
        if (FieldCodec::trimControls(card[required.field]).isEmpty())
            return required;
    return std::nullopt;
}

QString upperAsciiTrimmed(const QString &text)
{
    QString result = FieldCodec::trimControls(text);
    for (QChar &c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

bool isAllDigits(const QString &text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

std::optional<qint64> parsePosition(const QString &text, bool *ok)
{
    return ArchiveBrowse::parsePosition(text, ok);
}

} // namespace StudentForm
