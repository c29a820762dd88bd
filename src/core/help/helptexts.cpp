#include "help/helptexts.h"

#include <initializer_list>

namespace {

// Each paragraph is one line, wrapped by whoever shows it. Several texts
// share paragraphs: the general text holds the three window texts whole.

// General.
const char16_t G1[] =
    u"Lumetra è un software facile e intuitivo che consente di creare un archivio storico dei "
    u"frequentatori dei corsi organizzati dalla propria scuola o istituto di formazione e di "
    u"stampare tesserini di riconoscimento con nome e foto dello studente, tipo e durata del "
    u"corso frequentato e classe. Su ogni tesserino è inoltre possibile inserire la denominazione "
    u"e il logo della scuola, l'indirizzo, i recapiti e ulteriori annotazioni. Il software, "
    u"quindi, consente a qualsiasi istituzione scolastica pubblica, paritaria o privata non solo "
    u"di stampare tesserini identificativi ma anche di tenere traccia di tutti gli studenti che "
    u"hanno frequentato i propri corsi, annotando i dati anagrafici e i risultati conseguiti "
    u"nelle prove sostenute e nell'esame finale.";
const char16_t G2[] =
    u"Lumetra può essere utilizzato anche in una rete locale se si ha necessità di condividere "
    u"gli archivi fra più postazioni di lavoro.";
const char16_t G3[] =
    u"L'accesso al software è protetto da una password aggiornabile dall'utente che può essere "
    u"cambiata tutte le volte che si desidera. Per il primo accesso al programma, bisogna "
    u"utilizzare la parola chiave \"pergolatovesca\" (scritta senza le virgolette).";
const char16_t G4[] =
    u"Lumetra funziona anche su chiavetta USB. A tal fine, basta copiare la cartella del "
    u"programma su pen-drive e fare doppio clic sull'icona dell'applicazione per eseguirla. La "
    u"copia della cartella su dispositivo esterno è anche il metodo più veloce per effettuare il "
    u"backup di tutti gli archivi.";
const char16_t G5[] =
    u"Lumetra è quindi il programma ideale per qualsiasi scuola o istituto di formazione in cerca "
    u"di uno strumento veloce per la gestione dello storico dei frequentatori dei propri corsi e "
    u"per la stampa di tesserini di riconoscimento con foto digitali. L'utente resterà "
    u"piacevolmente sorpreso nel constatare come il software richieda tempi di apprendimento "
    u"praticamente nulli.";

// Student window.
const char16_t S1[] =
    u"L'app Archivio Studenti è uno schedario in cui registrare il cognome e il nome di ogni "
    u"frequentatore dei corsi, il sesso, il luogo e la data di nascita, la cittadinanza, "
    u"l'indirizzo di residenza, il codice fiscale, lo stato civile, la persona esercente la "
    u"potestà nel caso in cui lo studente è minorenne, il titolo di studio posseduto, le lingue "
    u"conosciute, l'indirizzo e-mail, il numero di telefono di casa e quello del cellulare, il "
    u"corso frequentato, la classe, la data di inizio corso e di fine corso, le assenze, i nomi "
    u"dei membri componenti la commissione dell'esame finale, la data dell'esame, il suo esito e "
    u"ogni ulteriore annotazione. Ciascuna scheda può essere corredata della foto dello studente "
    u"in formato Jpeg o Bitmap che viene ridotta in scala in automatico per adeguarsi alle "
    u"dimensioni del riquadro di anteprima. E' comunque possibile visualizzare l'immagine nelle "
    u"sue dimensioni reali a tutto schermo facendo clic sull'icona della lente di ingrandimento.";
const char16_t S2[] =
    u"Lo schedario degli studenti può quindi essere usato come un archivio storico in cui "
    u"conservare dettagliate informazioni su tutti i frequentatori dei propri corsi, pronte per "
    u"essere recuperate velocemente all'occorrenza. Questa app è dotata di funzioni avanzate "
    u"quali l'invio di e-mail allo studente e il controllo della validità del suo codice fiscale. "
    u"La sua funzione principale è comunque quella di registrare i dati degli studenti che "
    u"dovranno comparire sui tesserini di riconoscimento.";
const char16_t S3[] =
    u"Per inserire una scheda in archivio, bisogna fare clic sul pulsante Nuovo, compilare i "
    u"campi di testo che interessano, caricare la foto dello studente e premere il pulsante "
    u"Salva. Si tenga presente che i campi riguardanti il nome dello studente, il sesso, il corso "
    u"frequentato, la classe, la data di inizio e di fine corso sono a compilazione obbligatoria. "
    u"Per modificare una scheda esistente, bisogna visualizzarla nella schermata di lavoro usando "
    u"le frecce di scorrimento dei record o la funzione di ricerca, apportare le modifiche "
    u"desiderate e premere Salva.";
const char16_t S4[] =
    u"Il pulsante Duplica è utile se si ha bisogno di registrare due o più schede con dati molto "
    u"simili perché riferite, ad esempio, a studenti che frequentano lo stesso corso o la stessa "
    u"classe. Per duplicare la scheda di uno studente, basta visualizzare quella già registrata "
    u"in archivio, fare clic sul pulsante Duplica, inserire i nuovi dati e premere Salva.";
const char16_t S5[] =
    u"Per allegare una foto del tesserato, si può acquisirne l'immagine con la propria webcam. "
    u"Una volta aperta la finestra per l'acquisizione fotografica, bisogna premere il pulsante "
    u"Accendi webcam, far posizionare lo studente di fronte all'obiettivo e scattargli una foto "
    u"premendo il pulsante Cattura foto. Fatto ciò, si può importare la foto nella scheda dei "
    u"dati anagrafici servendosi dell'apposito pulsante. Infine, bisogna memorizzare la scheda "
    u"dello studente premendo il pulsante Salva.";
const char16_t S6[] =
    u"E' possibile visualizzare la foto a tutto schermo facendo clic sull'icona dello zoom. Se si "
    u"vuole ritoccare la foto acquisita, la si può salvare su disco, apportare le modifiche con "
    u"un software di grafica e ricaricarla nella scheda con il pulsante Carica. Se si preferisce, "
    u"anziché fotografare lo studente con una webcam, si può scattargli una foto in formato Jpeg "
    u"con una macchina fotografica digitale e importarla nella scheda anagrafica sempre "
    u"utilizzando il pulsante Carica.";
const char16_t S7[] =
    u"Il pulsante Slide Show mostra in sequenza, ad intervalli di sei secondi e a schermo intero, "
    u"tutte le foto degli studenti in archivio. Una volta visualizzata l'ultima foto archiviata, "
    u"la presentazione riprende dal principio. Per uscire dalla modalità Slide Show è sufficiente "
    u"fare clic su un punto qualsiasi della schermata.";
const char16_t S8[] =
    u"Per trovare le schede degli studenti in archivio è possibile utilizzare uno o più filtri di "
    u"ricerca contemporaneamente. Ad esempio, si può ottenere l'elenco di tutti gli studenti che "
    u"frequentano un certo corso o una certa classe, che hanno sostenuto l'esame finale in una "
    u"certa data o che possiedono un certo titolo di studio.";
const char16_t S9[] =
    u"La funzione Allega file consente di abbinare a ciascuno studente fino a tre file di "
    u"qualsiasi genere che potrebbero contenere, ad esempio, la copia acquisita allo scanner del "
    u"documento di riconoscimento o del diploma o attestato rilasciato a fine corso. Il contenuto "
    u"di ogni allegato può essere descritto nell'apposito campo di testo e il file può essere "
    u"aperto in qualsiasi momento premendo il pulsante Apri.";
const char16_t S10[] =
    u"Dopo aver salvato la scheda anagrafica dello studente, è possibile registrare le prove "
    u"scritte e orali, pratiche o teoriche, da lui sostenute durante il corso. A tal fine, "
    u"bisogna premere il pulsante Prove sostenute, e all'interno della finestra che appare, "
    u"scegliere se inserire una nuova prova o modificare una prova già archiviata. Di ogni prova "
    u"bisogna indicare la data in cui lo studente l'ha sostenuta, il tipo di prova, il nome del "
    u"docente che l'ha somministrata, l'aula in cui è stata svolta e l'esito ottenuto dallo "
    u"studente. Il pulsante Stampa riepilogo permette di stampare l'elenco di tutte le prove "
    u"sostenute dallo studente.";
const char16_t S11[] =
    u"La scheda anagrafica di ogni singolo studente può essere visualizzata in anteprima o "
    u"stampata su carta.";

// Card window.
const char16_t C1[] =
    u"L'app Stampa Tesserini serve sia alla stampa dei tesserini di riconoscimento dei singoli "
    u"studenti sia all'inserimento dei dati e del logo dell'istituto di formazione o scuola che "
    u"dovranno comparire nei tesserini stessi. Per visualizzare i dati di uno studente "
    u"all'interno della tessera è possibile utilizzare le frecce di scorrimento delle schede "
    u"oppure effettuare una ricerca in archivio servendosi del pulsante Trova. Per inserire o "
    u"modificare il logo e i dati dell'istituto o scuola, basta fare clic su di essi e seguire le "
    u"istruzioni nelle finestre che appaiono. Il logo e i dati testuali sono salvati in "
    u"automatico quando si esce dall'ambiente per la stampa della tessera.";
const char16_t C2[] =
    u"Ogni tesserino di riconoscimento contiene, quindi, i dati e il logo della scuola nonché il "
    u"cognome e nome dello studente, la sua foto, il corso frequentato, la classe in cui è "
    u"inserito, la data di inizio e di fine corso. In calce al tesserino è inoltre possibile "
    u"inserire ulteriori annotazioni. Come già accennato, le informazioni relative alla scuola "
    u"vengono memorizzate dal programma quando si esce dalla schermata di lavoro, cosicché non "
    u"occorrerà reinserirle quando si andrà a stampare una nuova tessera.";
const char16_t C3[] =
    u"Per facilitare la stampa delle tessere, il software consente di impostare adeguatamente i "
    u"margini di stampa superiore e sinistro nel caso in cui i valori di partenza non coincidano "
    u"con quelli richiesti dalla propria stampante. La possibilità di definire i margini rende il "
    u"software compatibile con qualsiasi modello di stampante. L'utente potrà effettuare la "
    u"stampa della tessera non solo su una scheda plastificata formato bancomat (qualora disponga "
    u"di una stampante predisposta) ma anche su un comune foglio in formato A4 oppure su un "
    u"cartoncino di dimensioni ridotte. E' possibile visualizzare l'anteprima del tesserino prima "
    u"di effettuare la stampa.";
const char16_t C4[] =
    u"La foto che appare nella tessera è quella che è stata salvata in formato Jpeg o Bitmap "
    u"nella scheda dello studente selezionato. Per ottimizzare la stampa, è buona norma far sì "
    u"che le proporzioni (ma non necessariamente le dimensioni) della foto corrispondano al "
    u"riquadro visibile nella schermata. Questo significa che le foto dovrebbero essere acquisite "
    u"e salvate con orientamento verticale e non orizzontale, ossia nel formato tipico dei "
    u"ritratti anziché dei paesaggi. In fase di stampa, il software provvede ad adattare le "
    u"dimensioni dell'immagine al riquadro della foto in formato tessera.";

// Export window.
const char16_t E1[] =
    u"L'app Esportazione in Excel consente di esportare i dati testuali presenti nell'archivio "
    u"degli studenti in un foglio di lavoro di Microsoft Excel, che potrà essere aperto con "
    u"qualsiasi software in grado di gestire i file in formato XLS (ad esempio, con Open Office, "
    u"Libre Office o Microsoft Office).";
const char16_t E2[] =
    u"Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona "
    u"di Excel. Questa operazione crea in tempo reale un file in formato XLS contenente le schede "
    u"degli studenti in archivio, che potrà essere aperto immediatamente rispondendo "
    u"affermativamente al messaggio di domanda che appare.";
const char16_t E3[] =
    u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome "
    u"qualsiasi.";

QStringList list(std::initializer_list<const char16_t *> paragraphs)
{
    QStringList result;
    for (const char16_t *paragraph : paragraphs)
        result.append(QString::fromUtf16(paragraph));
    return result;
}

QStringList students()
{
    return list({S1, S2, S3, S4, S5, S6, S7, S8, S9, S10, S11});
}

QStringList card()
{
    return list({C1, C2, C3, C4});
}

QStringList exportToExcel()
{
    return list({E1, E2, E3});
}

} // namespace

namespace HelpTexts {

QStringList paragraphs(Topic topic)
{
    switch (topic) {
    case Topic::General:
        // The introduction, the window texts (students, export, cards) and the closing.
        return list({G1}) + students() + exportToExcel() + card() + list({G2, G3, G4, G5});
    case Topic::Students:
        return students();
    case Topic::Card:
        return card();
    case Topic::Export:
        return exportToExcel();
    }
    return {};
}

HelpText text(Topic topic)
{
    QString title;
    switch (topic) {
    case Topic::General:
        title = QStringLiteral("Uno sguardo a Lumetra");
        break;
    case Topic::Students:
        title = QStringLiteral("App Archivio Studenti");
        break;
    case Topic::Card:
        title = QStringLiteral("App Stampa Tesserini");
        break;
    case Topic::Export:
        title = QStringLiteral("Esportazione archivio studenti in Microsoft Excel.");
        break;
    }
    return {title, paragraphs(topic).join(paragraphSeparator())};
}

QList<Topic> topics()
{
    return {Topic::General, Topic::Students, Topic::Card, Topic::Export};
}

} // namespace HelpTexts
