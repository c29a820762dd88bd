#include "exportcolumns.h"

namespace ExportColumns {

const std::array<Column, Count> &columns()
{
    using R = StudentRecord;
    static const std::array<Column, Count> table{{
        {"colNum", "N.", 60, 0, false, R::Studente},
        {"colStudente", "Cognome e nome", 200, 250, false, R::Studente},
        {"colDataNasc", "Data nascita", 150, 200, false, R::DataNasc},
        {"colCittadinanza", "Cittadinanza", 200, 250, false, R::Cittadinanza},
        {"colLuogoNasc", "Luogo nascita", 200, 250, false, R::LuogoNasc},
        {"colIndirizzo", "Indirizzo", 250, 300, false, R::Indirizzo},
        {"colCitta", "Città", 200, 250, false, R::Citta},
        {"colCap", "CAP", 150, 200, true, R::Cap},
        {"colNazione", "Nazione", 200, 250, false, R::Nazione},
        {"colCodFisc", "Codice fiscale", 180, 250, false, R::CodFisc},
        {"colCivile", "Stato civile", 200, 250, false, R::Civile},
        {"colEsercente", "Esercente potestà", 250, 350, true, R::Esercente},
        {"colStudio", "Titolo di studio", 250, 350, true, R::Studio},
        {"colLingue", "Lingue conosciute", 250, 350, true, R::Lingue},
        {"colEmail", "E-mail", 200, 250, true, R::Email},
        {"colTel", "Tel. casa", 150, 200, true, R::Tel},
        {"colCel", "Tel. cellulare", 150, 200, true, R::Cel},
        {"colCorso", "Corso", 250, 350, true, R::Corso},
        {"colClasse", "Classe", 150, 200, true, R::Classe},
        {"colInizio", "Data inizio", 150, 200, true, R::Inizio},
        {"colFine", "Data fine", 150, 200, true, R::Fine},
        {"colAssenze", "Assenze", 300, 350, true, R::Assenze},
        {"colCommissione", "Commissione esame finale", 300, 400, true, R::Commissione},
        {"colDataEsame", "Data esame", 150, 200, true, R::DataEsame},
        {"colEsito", "Esito", 200, 250, true, R::Esito},
        {"colNote", "Note", 300, 400, true, R::Note},
    }};
    return table;
}

} // namespace ExportColumns
