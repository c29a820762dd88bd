#include "walkthrough.h"

namespace Walkthrough {

QString title()
{
    return QStringLiteral("Primi passi con Lumetra");
}

QString introduction()
{
    return QStringLiteral(
        "Questo capitolo accompagna l'utente nelle operazioni più comuni, dall'accesso al programma "
        "fino alla stampa del tesserino di uno studente appena registrato in archivio.");
}

QList<Step> steps()
{
    return {
        {QStringLiteral("Accesso al programma"),
         {QStringLiteral(
              "All'avvio Lumetra mostra la finestra di accesso. Si digita la password e si preme OK "
              "oppure il tasto Invio. Al primo accesso la password è quella indicata nel capitolo "
              "precedente; il pulsante Cambia password permette di sostituirla in qualsiasi momento "
              "con una parola chiave scelta dall'utente. Il pulsante Esci chiude il programma.")},
         QStringLiteral("login.png"),
         QStringLiteral("La finestra di accesso.")},
        {QStringLiteral("Il menu principale"),
         {QStringLiteral(
              "Dopo l'accesso appare il menu principale, dal quale si raggiungono le tre aree di lavoro: "
              "Archivio Studenti, Esporta in Excel e Stampa Tesserini. Per aprirne una si può fare clic "
              "sull'immagine rotonda, sul pulsante blu o sul foglietto giallo che la descrive."),
          QStringLiteral(
              "In alto a sinistra l'icona delle informazioni mostra i dati del programma e l'indirizzo "
              "e-mail a cui scrivere; in alto a destra l'icona della guida apre la guida in linea. In "
              "basso si trovano il collegamento al sito web, i riconoscimenti e l'icona rossa che chiude "
              "il programma.")},
         QStringLiteral("menu.png"),
         QStringLiteral("Il menu principale.")},
        {QStringLiteral("Registrare un nuovo studente"),
         {QStringLiteral(
              "Nell'Archivio Studenti si preme il pulsante Nuovo, si compilano i campi che interessano "
              "e si carica la foto dello studente da un file con il pulsante Carica oppure la si scatta "
              "con la webcam. Il cognome e nome, il sesso, il corso, la classe e le date di inizio e di "
              "fine corso sono obbligatori. Il pulsante Salva registra la scheda in archivio: la scheda "
              "riceve un numero che la identifica da quel momento in poi e la foto viene conservata "
              "nella cartella Anagrafica del programma."),
          QStringLiteral(
              "Le frecce in alto a destra scorrono le schede già registrate e il pulsante Trova le "
              "cerca per nome, corso, classe o altri dati. Per tornare al menu principale si usa "
              "l'icona di uscita.")},
         QStringLiteral("students.png"),
         QStringLiteral("L'Archivio Studenti con la scheda di una studentessa.")},
        {QStringLiteral("Stampare il tesserino"),
         {QStringLiteral(
              "Dal menu principale si apre Stampa Tesserini. Con il pulsante Trova si cerca lo studente "
              "in archivio e con un doppio clic sul suo nome se ne riportano i dati e la foto sul "
              "tesserino; in alternativa si scorrono le schede con le frecce. La denominazione, "
              "l'indirizzo, i recapiti, le note e il logo della scuola si modificano facendo clic su di "
              "essi e vengono ricordati per i tesserini successivi."),
          QStringLiteral(
              "Il pulsante Anteprima mostra il tesserino così come verrà stampato; il pulsante Stampa "
              "apre la finestra in cui si scelgono i margini e l'orientamento del foglio e si avvia la "
              "stampa.")},
         QStringLiteral("card.png"),
         QStringLiteral("Stampa Tesserini con i dati della scuola e dello studente.")},
        {QStringLiteral("Esportare l'archivio in Excel"),
         {QStringLiteral(
              "Esporta in Excel mostra in una griglia tutte le schede dell'archivio. L'icona di Excel "
              "crea il file Archivio_Studenti.xls nella cartella del programma e propone di aprirlo "
              "subito; da lì lo si può salvare con un nome qualsiasi.")},
         QStringLiteral("export.png"),
         QStringLiteral("La griglia dell'esportazione in Excel.")},
        {QStringLiteral("La guida in linea"),
         {QStringLiteral(
              "Ogni area di lavoro ha il proprio pulsante della guida, che apre una finestra con il "
              "testo dedicato a quell'area; i testi sono riportati nei capitoli che seguono. Il "
              "collegamento Visualizza guida in formato PDF, in fondo alla finestra, apre questo "
              "documento.")},
         QStringLiteral("guide.png"),
         QStringLiteral("La finestra della guida in linea.")},
        {QStringLiteral("Salvataggio e copia dei dati"),
         {QStringLiteral(
              "Alla chiusura del programma non c'è nulla da salvare: le schede si registrano con il "
              "pulsante Salva e i dati della scuola vengono salvati all'uscita da Stampa Tesserini. "
              "L'archivio, le foto, gli allegati, le prove sostenute e le impostazioni si trovano tutti "
              "nella cartella del programma; per una copia di sicurezza basta copiare la cartella su un "
              "altro disco o su una chiavetta USB.")},
         QString(),
         QString()},
    };
}

} // namespace Walkthrough
