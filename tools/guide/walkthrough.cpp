#include "walkthrough.h"

namespace Walkthrough {

namespace {

Block text(const char *s)
{
    return {Block::Text, QString::fromUtf8(s), {}, {}};
}

Block step(const char *s)
{
    return {Block::Step, QString::fromUtf8(s), {}, {}};
}

Block item(const char *s)
{
    return {Block::Item, QString::fromUtf8(s), {}, {}};
}

Block figure(const char *picture, const char *window, const char *caption)
{
    return {Block::Figure, QString::fromUtf8(caption), QString::fromUtf8(picture), QString::fromUtf8(window)};
}

Section section(const char *heading, QList<Block> blocks)
{
    return {QString::fromUtf8(heading), std::move(blocks)};
}

Chapter firstStart()
{
    return {QStringLiteral("Primo avvio"),
            {text("Questo capitolo e i due che lo seguono accompagnano la segreteria dal primo avvio del "
                  "programma fino alla stampa dei tesserini di un'intera classe: si entra nel programma, si "
                  "registrano gli studenti con la loro foto, si inseriscono una volta per tutte i dati e il "
                  "logo della scuola, si prova la stampa di un tesserino e infine si stampano i tesserini di "
                  "tutta la classe. I capitoli successivi descrivono le altre funzioni e, in fondo alla "
                  "guida, che cosa fare quando qualcosa non va.")},
            {
                section("Accesso al programma",
                        {
                            text("All'avvio Lumetra mostra soltanto la finestra di accesso «Lumetra - "
                                 "Autenticazione»."),
                            step("Fare clic nel campo sotto la scritta «Immetti la password e premi OK.» e "
                                 "digitare la password. Al primo accesso la password è pergolatovesca; le "
                                 "lettere si possono scrivere indifferentemente maiuscole o minuscole."),
                            step("Premere «OK» oppure il tasto Invio. Il pulsante «OK» si attiva solo dopo "
                                 "che è stato digitato qualcosa."),
                            step("Se la password è giusta compare il menu principale; altrimenti compare il "
                                 "messaggio «Attenzione: password errata.», il campo si svuota e si può "
                                 "riprovare. Non c'è un limite ai tentativi."),
                            text("Il pulsante «Esci» chiude il programma; il pulsante «Cambia password» apre "
                                 "la finestra descritta nella sezione seguente."),
                            figure("login.png", "Lumetra - Autenticazione", "la finestra di accesso."),
                        }),
                section("Cambiare la password",
                        {
                            text("È bene sostituire subito la password iniziale con una scelta dalla scuola. "
                                 "La password è una sola per tutto il programma e vale per chiunque lo usi, "
                                 "anche dalle altre postazioni che condividono la stessa cartella dei dati "
                                 "(sezione “Salvataggio e copia dei dati”)."),
                            step("Nella finestra di accesso premere «Cambia password»."),
                            step("In «Vecchia password:» scrivere la password in uso; in «Nuova password:» e "
                                 "in «Conferma nuova password:» scrivere due volte la nuova password, "
                                 "esattamente allo stesso modo, maiuscole comprese. Il tasto Invio passa da un "
                                 "campo all'altro."),
                            step("Premere «OK», che si attiva quando i tre campi sono compilati. Il messaggio "
                                 "«Modifica della password completata con successo.» conferma il cambio e "
                                 "riporta alla finestra di accesso, dove si entra con la nuova password."),
                            text("Se la vecchia password non è giusta compare «Attenzione: vecchia password "
                                 "errata.»; se le due nuove non coincidono compare «Attenzione: la nuova "
                                 "password non è stata confermata correttamente.» e i due campi si svuotano. "
                                 "«Chiudi» torna alla finestra di accesso senza cambiare nulla. Conservare "
                                 "la password in un luogo sicuro: il programma non può recuperarla (si veda "
                                 "il capitolo “Risoluzione dei problemi”)."),
                            figure("password.png", "Cambia password", "la finestra per cambiare la password."),
                        }),
                section("Il menu principale",
                        {
                            text("Dopo l'accesso compare il menu principale, dal quale si raggiungono le tre "
                                 "aree di lavoro. Ciascuna si apre con un clic sull'immagine rotonda, sul "
                                 "pulsante blu che ne porta il nome o sul foglietto giallo che la descrive:"),
                            item("«ARCHIVIO STUDENTI»: le schede degli studenti con la foto, gli allegati, le "
                                 "prove sostenute, la ricerca, la stampa della scheda e lo slide show;"),
                            item("«ESPORTA IN EXCEL»: l'intero archivio in una griglia e in un file per i "
                                 "programmi di fogli di calcolo;"),
                            item("«STAMPA TESSERINI»: i dati e il logo della scuola e la stampa dei tesserini, "
                                 "di uno studente o di un'intera classe."),
                            text("In alto a sinistra l'icona delle informazioni mostra i dati del programma e "
                                 "l'indirizzo e-mail a cui scrivere; in alto a destra il punto interrogativo "
                                 "apre la guida in linea. In basso si trovano il collegamento al sito web, "
                                 "l'icona dei riconoscimenti e, a destra, l'icona rossa che chiude il "
                                 "programma. Chiudere il menu principale chiude il programma: non c'è nulla "
                                 "da salvare, perché ogni finestra salva i propri dati quando li si conferma."),
                            figure("menu.png", "Lumetra", "il menu principale."),
                        }),
            }};
}

Chapter students()
{
    return {QStringLiteral("Registrare gli studenti"),
            {text("Ogni studente ha in archivio una scheda con i suoi dati, la foto, fino a tre file allegati e "
                  "il registro delle prove sostenute. Le schede si compilano nella finestra «Lumetra - "
                  "Archivio Studenti», che si apre dal menu principale con «ARCHIVIO STUDENTI» e si apre "
                  "sempre su una scheda nuova e vuota.")},
            {
                section("La finestra dell'Archivio Studenti",
                        {
                            text("A sinistra c'è la foto con i pulsanti che la riguardano, a destra i campi "
                                 "della scheda. I pulsanti in alto sono piccole icone: passando sopra "
                                 "ciascuna con il mouse, la riga blu in fondo alla finestra ne descrive la "
                                 "funzione; per i pulsanti che hanno un tasto, lo stesso suggerimento compare "
                                 "accanto al puntatore insieme al tasto. Da sinistra a destra:"),
                            item("Nuovo (Ctrl+N): «Prepara la schermata per l'inserimento di una nuova "
                                 "scheda.»"),
                            item("Duplica (Ctrl+D): «Prepara la schermata per l'inserimento di una nuova "
                                 "scheda duplicando i dati correnti.»"),
                            item("Salva (Ctrl+S): «Salva la scheda in archivio.»"),
                            item("Trova (Ctrl+F): «Trova una scheda in archivio.»"),
                            item("Allega file: «Allega file alla scheda.»"),
                            item("«Anteprima» e «Stampa»: la scheda dello studente su carta (capitolo “La "
                                 "scheda dello studente su carta”)."),
                            item("Le quattro frecce con il numero della scheda in mezzo: «Visualizza la prima "
                                 "scheda in archivio.», la precedente, la successiva e l'ultima."),
                            item("Slide show: «Esegui lo slide show.»; il punto interrogativo: «Visualizza la "
                                 "guida in linea.»; l'ultima icona: «Esci da questa schermata di lavoro.», che "
                                 "riporta al menu principale."),
                            figure("students.png", "Lumetra - Archivio Studenti",
                                   "la scheda di una studentessa già registrata in archivio (scheda numero 7)."),
                        }),
                section("Registrare un nuovo studente",
                        {
                            step("Premere Nuovo (la finestra si apre già su una scheda nuova)."),
                            step("Compilare i campi che interessano. Sono obbligatori «Cognome e nome:», "
                                 "«Sesso:» (M o F), «Corso:», «Classe:», «Data inizio:» e «Data fine:». Le "
                                 "date si scrivono nella forma 15/09/2025. Il tasto Invio passa al campo "
                                 "successivo."),
                            step("Caricare la foto con «Carica» oppure scattarla con la webcam (sezioni "
                                 "seguenti)."),
                            step("Premere Salva. Il messaggio «La scheda corrente è stata inserita in "
                                 "archivio.» conferma il salvataggio e tra le frecce compare il numero della "
                                 "scheda, che da quel momento la identifica. La foto viene salvata insieme "
                                 "alla scheda."),
                            text("Se manca un campo obbligatorio il programma lo dice, ad esempio «Attenzione: "
                                 "per salvare la scheda è necessario indicare il corso frequentato dallo "
                                 "studente.», e porta il cursore sul campo da compilare; nulla viene salvato."),
                            text("Le schede non si cancellano: una scheda salvata resta in archivio con il suo "
                                 "numero e si può solo modificare. Le lettere di alfabeti diversi da quello "
                                 "latino (ad esempio greco o cirillico) e alcune lettere dell'Europa orientale "
                                 "non possono essere conservate nell'archivio."),
                        }),
                section("La foto dello studente",
                        {
                            text("I pulsanti sotto la foto, da sinistra a destra:"),
                            item("«Carica»: sceglie una foto dal disco, in formato JPEG o Bitmap."),
                            item("la webcam: «Cattura la foto con una webcam.» (sezione seguente);"),
                            item("«Salva la foto su disco.»: ne salva una copia JPEG, con il nome proposto "
                                 "Foto.jpg, ad esempio per ritoccarla con un programma di grafica e "
                                 "ricaricarla con «Carica»;"),
                            item("«Cancella la foto.»: toglie la foto dalla scheda;"),
                            item("la lente: «Visualizza la foto nelle sue dimensioni reali.», a tutto schermo; "
                                 "un clic sulla foto chiude la finestra."),
                            text("Una foto caricata, scattata o cancellata entra in archivio solo quando si "
                                 "preme Salva. Per il tesserino conviene una foto verticale, nelle proporzioni "
                                 "di una fototessera: una foto orizzontale viene rimpicciolita per entrare nel "
                                 "riquadro e lascia spazi vuoti sopra e sotto."),
                        }),
                section("Scattare la foto con la webcam",
                        {
                            step("Premere il pulsante della webcam sotto la foto: si apre la finestra «Cattura "
                                 "foto con webcam»."),
                            step("Premere «Accendi webcam»: nel riquadro di sinistra compare l'immagine della "
                                 "webcam. Far posizionare lo studente davanti all'obiettivo."),
                            step("Premere «Cattura foto»: lo scatto compare nel riquadro di destra. Se non va "
                                 "bene, premere di nuovo «Cattura foto»."),
                            step("Premere «Importa foto in scheda»: la webcam si spegne, la finestra si chiude "
                                 "e lo scatto prende il posto della foto nella scheda."),
                            step("Premere Salva nella scheda dello studente."),
                            text("«Salva foto su disco» salva lo scatto in un file JPEG; se il file non si può "
                                 "scrivere (cartella protetta, disco pieno) un messaggio ne spiega il motivo e lo "
                                 "scatto resta nella finestra, pronto per un altro tentativo. «Spegni webcam» ferma "
                                 "l'immagine; «Annulla» spegne la webcam e chiude la finestra senza toccare "
                                 "la scheda. Se l'immagine della webcam non compare, si veda il capitolo "
                                 "“Risoluzione dei problemi”."),
                            figure("webcam.png", "Cattura foto con webcam",
                                   "la finestra della webcam prima dell'accensione."),
                        }),
                section("Controllare il codice fiscale e la partita IVA",
                        {
                            text("Il piccolo pulsante a destra del campo «Codice fiscale:» («Controlla il "
                                 "codice fiscale.») verifica il carattere di controllo del numero scritto nel "
                                 "campo. Se il campo contiene soltanto cifre, come una partita IVA di 11 "
                                 "cifre, si apre invece il controllo della partita IVA. I due controlli "
                                 "informano soltanto: non cambiano nulla nella scheda."),
                            step("Scrivere il codice fiscale (o la partita IVA) nel campo e premere il "
                                 "pulsante di controllo: si apre la finestra «Controllo codice fiscale» "
                                 "oppure «Controllo partita IVA» con il numero già scritto; lo si può anche "
                                 "correggere lì."),
                            step("Premere «Controlla». Per il codice fiscale la risposta è «Il codice fiscale "
                                 "digitato è VALIDO.» oppure «Attenzione: il codice fiscale digitato è "
                                 "ERRATO.»; un codice che non ha 16 caratteri dà «Attenzione: il codice "
                                 "fiscale deve essere composto da 16 caratteri alfanumerici.»"),
                            step("Per la partita IVA la risposta è «Il numero di partita IVA digitato risulta "
                                 "VALIDO.» seguita dall'ufficio che l'ha rilasciata («E' stato rilasciato "
                                 "dall'Ufficio IVA del Comune di» e il nome dell'ufficio), oppure «Attenzione: "
                                 "il numero di partita IVA digitato risulta ERRATO!»; un numero che non ha 11 "
                                 "cifre dà «Attenzione: la partita IVA deve essere composta da 11 caratteri "
                                 "numerici.»"),
                            text("Dopo la risposta la finestra si chiude; «Chiudi» la chiude senza controllare. "
                                 "Il controllo verifica che il numero sia formato correttamente, non che "
                                 "appartenga davvero a quella persona o a quell'ente."),
                            figure("codfisc.png", "Controllo codice fiscale",
                                   "il codice fiscale della scheda mostrata, pronto per il controllo."),
                            figure("partitaiva.png", "Controllo partita IVA",
                                   "una partita IVA di 11 cifre scritta nel campo del codice fiscale."),
                        }),
                section("Modificare, duplicare e scorrere le schede",
                        {
                            text("Per modificare una scheda la si porta sullo schermo con le frecce o con "
                                 "Trova (capitolo “Cercare gli studenti e stampare elenchi”), si cambiano i "
                                 "campi e si preme Salva: il messaggio «Le modifiche apportate alla scheda "
                                 "corrente sono state salvate in archivio.» lo conferma."),
                            text("Se si passa a un'altra scheda, si preme Nuovo o Trova o si esce dopo aver "
                                 "cambiato qualcosa senza salvare, il programma chiede «La scheda corrente è "
                                 "stata modificata. Salvare le modifiche?»: «Sì» salva, «No» lascia la scheda "
                                 "com'era in archivio, «Annulla» resta sulla scheda."),
                            text("Duplica serve per registrare più studenti con dati simili, ad esempio dello "
                                 "stesso corso e della stessa classe: si mostra una scheda già salvata, si "
                                 "preme Duplica, si cambiano i dati diversi e si preme Salva, che aggiunge una "
                                 "scheda nuova. La copia non porta con sé né la foto né gli allegati. Su una "
                                 "scheda mai salvata compare «Attenzione: la duplicazione di una scheda può "
                                 "avvenire soltanto dopo che questa è stata inserita in archivio.»"),
                            text("Il piccolo pulsante a destra del campo «E-mail:» apre un nuovo messaggio di "
                                 "posta elettronica indirizzato allo studente."),
                        }),
                section("Allegare file alla scheda",
                        {
                            text("A ogni scheda si possono allegare fino a tre file di qualsiasi tipo, ad "
                                 "esempio la scansione del documento d'identità o del diploma."),
                            step("Premere Allega file: si apre la finestra «Allega file»."),
                            step("Premere «Sfoglia...» accanto a uno dei tre posti e scegliere il file. Il "
                                 "programma ne mette subito una copia nella cartella Documenti_Allegati della "
                                 "cartella dei dati; se lì c'è già un file con lo stesso nome chiede se "
                                 "sovrascriverlo («Si vuole sovrascrivere il file esistente?»)."),
                            step("Scrivere nel campo della descrizione che cosa contiene il file."),
                            step("Premere «Applica e chiudi» e poi, nella scheda, Salva: solo allora gli "
                                 "allegati restano registrati nella scheda."),
                            text("«Apri» apre il file allegato con il programma adatto; la gomma accanto al "
                                 "nome («Togli il file dalla scheda») libera il posto, senza cancellare la "
                                 "copia dalla cartella. «Annulla» chiude la finestra senza cambiare la scheda."),
                            figure("attachments.png", "Allega file",
                                   "due file allegati alla scheda, con le loro descrizioni."),
                        }),
            }};
}

Chapter cards()
{
    return {QStringLiteral("I tesserini"),
            {text("I tesserini si preparano e si stampano nella finestra «Lumetra - Stampa Tesserini», che si "
                  "apre dal menu principale con «STAMPA TESSERINI». Il tesserino riporta i dati e il logo "
                  "della scuola e, per lo studente, la foto, il cognome e nome, il corso, la classe e le date "
                  "di inizio e di fine corso, così come sono salvati nella sua scheda.")},
            {
                section("La finestra Stampa Tesserini",
                        {
                            text("Al centro c'è il tesserino a grandezza naturale. In alto i pulsanti «Nuovo» "
                                 "(«Cancella i dati del tesserino.»), «Trova», «Anteprima», «Stampa» e le "
                                 "frecce per scorrere le schede; in basso «Guida» ed «Esci», che riporta al "
                                 "menu principale. La finestra si apre ogni volta con il tesserino vuoto e con "
                                 "i dati della scuola già inseriti."),
                            figure("card.png", "Lumetra - Stampa Tesserini",
                                   "il tesserino di una studentessa con i dati e il logo della scuola."),
                        }),
                section("I dati e il logo della scuola",
                        {
                            text("I dati della scuola si inseriscono una volta sola: il programma li ricorda "
                                 "per tutti i tesserini."),
                            step("Fare clic sulla denominazione della scuola, sull'indirizzo, sui recapiti o "
                                 "sulle note in fondo al tesserino («Premi qui per inserire i dati della "
                                 "Scuola.»): si apre la finestra «Dati Scuola»."),
                            step("Scrivere nei quattro campi la denominazione, l'indirizzo, i recapiti e le "
                                 "note, nell'ordine in cui compaiono sul tesserino, e premere «Applica e "
                                 "chiudi». «Annulla» lascia il tesserino com'era."),
                            step("Fare clic sul logo («Premi qui per caricare il logo della Scuola.») e "
                                 "scegliere un'immagine JPEG o Bitmap. Il logo viene adattato al riquadro, "
                                 "che è quasi quadrato: un'immagine quadrata non si deforma. La piccola icona "
                                 "rossa sull'angolo del logo («Cancella logo.») lo sostituisce con un "
                                 "riquadro bianco."),
                            step("Premere «Esci»: «Il logo e i dati testuali relativi alla Scuola sono "
                                 "salvati in automatico all'uscita da questo ambiente di lavoro.» Il logo viene "
                                 "salvato anche a ogni anteprima e a ogni stampa."),
                            figure("schooldata.png", "Dati Scuola", "i quattro dati della scuola."),
                        }),
                section("Portare uno studente sul tesserino",
                        {
                            step("Premere «Trova»: si apre la finestra «Importa dati studente da archivio "
                                 "anagrafico», uguale a quella della ricerca degli studenti (capitolo "
                                 "“Cercare gli studenti e stampare elenchi”)."),
                            step("Scrivere ad esempio il cognome in «Cognome e nome:» e premere «Cerca»."),
                            step("Fare doppio clic sul nome dello studente: la finestra si chiude e il "
                                 "tesserino riceve la foto, il cognome e nome, il corso, la classe e le date "
                                 "del corso."),
                            text("In alternativa si scorrono le schede con le frecce. La foto è quella salvata "
                                 "con la scheda: una foto appena caricata nell'Archivio Studenti compare sul "
                                 "tesserino solo dopo aver salvato la scheda. La piccola icona rossa "
                                 "sull'angolo della foto («Cancella foto.») la toglie dal tesserino, non dalla "
                                 "scheda."),
                        }),
                section("L'anteprima del tesserino",
                        {
                            text("«Anteprima» apre la finestra «Anteprima di stampa»; «Mostra anteprima» "
                                 "mostra il tesserino sul foglio così come verrà stampato. I pulsanti in alto "
                                 "ingrandiscono la pagina («Larghezza "
                                 "pagina», «Pagina intera», «Schermo intero»), la stampano («Stampa») o "
                                 "chiudono l'anteprima («Chiudi»)."),
                            figure("cardpreview.png", "Tesserino",
                                   "l'anteprima del tesserino sul foglio."),
                        }),
                section("Stampare il tesserino e regolare i margini",
                        {
                            step("Con lo studente sul tesserino premere «Stampa»: si apre la finestra «Stampa "
                                 "tesserino»."),
                            step("Scegliere l'orientamento del foglio, «Verticale» o «Orizzontale», secondo "
                                 "come la stampante riceve la tessera o il foglio."),
                            step("Regolare, se serve, «Margine superiore:» e «Margine sinistro:» con i "
                                 "pulsanti - e +: ogni clic sposta il tesserino di un millimetro. Aumentando "
                                 "il margine superiore il tesserino scende, aumentando il sinistro si sposta "
                                 "a destra; i valori negativi lo spostano verso l'alto e verso sinistra."),
                            step("Premere «Stampa» e, nella finestra della stampante che segue, scegliere la "
                                 "stampante e confermare."),
                            text("I margini e l'orientamento vengono memorizzati a ogni stampa e si ritrovano "
                                 "alla stampa successiva; «Annulla» chiude la finestra senza memorizzare le "
                                 "modifiche. La prima volta conviene provare su un foglio normale e correggere "
                                 "i margini per tentativi, come spiega il capitolo “Risoluzione dei problemi”. "
                                 "Il tesserino si può stampare su una tessera plastificata (con una stampante "
                                 "per tessere), su un foglio A4 o su un cartoncino."),
                            figure("cardprint.png", "Stampa tesserino",
                                   "orientamento e margini della stampa del tesserino."),
                        }),
                section("Stampare i tesserini di una classe",
                        {
                            text("I tesserini di tutti gli studenti di una classe, o di qualsiasi elenco "
                                 "trovato con la ricerca, si stampano in una volta sola."),
                            step("Nella finestra Stampa Tesserini premere «Trova»."),
                            step("Scrivere la classe in «Classe:» (e, se più corsi hanno classi con lo stesso "
                                 "nome, il corso in «Corso:») e premere «Cerca»."),
                            step("Controllare l'elenco: sono gli studenti di cui verrà stampato il tesserino. "
                                 "Premere «Stampa tesserini», in alto a destra."),
                            step("Nella finestra «Stampa tesserini», che indica quanti tesserini verranno "
                                 "stampati, scegliere «Stampante per tessere» (un tesserino per tessera, con "
                                 "l'orientamento e i margini regolati nella finestra «Stampa tesserino») "
                                 "oppure «Foglio A4» (dieci tesserini per foglio, in due colonne di cinque, "
                                 "con i segni per ritagliarli), poi premere «Stampa»."),
                            step("Nella finestra della stampante scegliere la stampante e confermare. Se la "
                                 "stampa richiede un po' di tempo, una finestra ne mostra l'avanzamento («Stampa "
                                 "dei tesserini:» e il numero) con un pulsante «Annulla» che annulla l'intera "
                                 "stampa."),
                            text("I dati della scuola e il logo sono quelli della finestra Stampa Tesserini; "
                                 "ogni tesserino ha la foto salvata con la scheda dello studente. Con «Stampante "
                                 "per tessere», se i margini memorizzati farebbero cadere i tesserini del tutto "
                                 "o in parte fuori dalla tessera, il programma lo segnala prima di stampare."),
                            figure("picker.png", "Importa dati studente da archivio anagrafico",
                                   "gli studenti della classe 2A, pronti per la stampa dei tesserini."),
                            figure("cardbatch.png", "Stampa tesserini",
                                   "la scelta tra la stampante per tessere e il foglio A4."),
                        }),
            }};
}

Chapter search()
{
    return {QStringLiteral("Cercare gli studenti e stampare elenchi"),
            {text("La ricerca si apre con Trova nell'Archivio Studenti (finestra «Trova schede studenti in "
                  "archivio») e con «Trova» nella finestra Stampa Tesserini (finestra «Importa dati studente da "
                  "archivio anagrafico»): le due finestre funzionano allo stesso modo e cambiano solo in ciò "
                  "che fa il doppio clic su un nome.")},
            {
                section("Cercare con i filtri",
                        {
                            step("Scrivere in uno o più dei dieci campi una o più parole consecutive presenti "
                                 "nelle schede da trovare, ad esempio 2A in «Classe:», e lasciare vuoti gli "
                                 "altri."),
                            step("Premere «Cerca»."),
                            text("Una scheda viene trovata quando ogni campo compilato compare nel dato "
                                 "corrispondente, anche in mezzo ad altre parole: 2010 in «Data di nascita "
                                 "(gg/mm/aaaa):» trova tutti i nati nel 2010. Maiuscole e minuscole non "
                                 "contano, tranne che per le lettere accentate. Con tutti i campi vuoti si "
                                 "ottiene l'intero "
                                 "archivio. Su un archivio molto grande, durante la ricerca compare «Ricerca "
                                 "schede in corso. Attendere...» con un pulsante «Annulla» per interromperla."),
                            figure("search.png", "Trova schede studenti in archivio",
                                   "la ricerca degli studenti della classe 2A."),
                        }),
                section("I risultati e l'elenco stampato",
                        {
                            text("L'elenco dei risultati è in ordine di cognome e nome e riporta per ogni "
                                 "studente il codice fiscale, il corso, la classe, la data e l'esito "
                                 "dell'esame; sotto si legge quante schede contiene («Il presente riepilogo "
                                 "contiene» e il numero)."),
                            item("«Fare doppio clic sulla voce in elenco per richiamare la scheda»: dalla "
                                 "ricerca dell'Archivio Studenti la scheda compare nella finestra "
                                 "dell'archivio; dalla finestra Stampa Tesserini lo studente passa sul "
                                 "tesserino."),
                            item("«Trova»: cerca una parola nell'elenco; premendolo di nuovo si passa alla "
                                 "voce successiva che la contiene."),
                            item("«Stampa»: stampa l'elenco, con il titolo «Riepilogo schede studenti in "
                                 "archivio», su fogli A4 orizzontali."),
                            item("«Stampa tesserini» (solo dalla finestra Stampa Tesserini): i tesserini di "
                                 "tutti gli studenti dell'elenco, come spiega il capitolo “I tesserini”."),
                            figure("searchresults.png", "Trova schede studenti in archivio",
                                   "gli studenti trovati, in ordine di cognome e nome."),
                        }),
            }};
}

Chapter testsRegister()
{
    return {QStringLiteral("Il registro delle prove"),
            {text("Per ogni studente si possono registrare le prove sostenute durante il corso: la data, il "
                  "tipo di prova, il docente, l'aula e l'esito. Il registro si apre con il pulsante arancione "
                  "«Prove sostenute» della scheda, dopo che la scheda è stata salvata; su una scheda nuova "
                  "compare «Attenzione: la registrazione delle prove sostenute può avvenire soltanto dopo "
                  "aver salvato la scheda dello studente.»")},
            {
                section("L'elenco delle prove",
                        {
                            text("La finestra «Riepilogo prove sostenute» elenca le prove dello studente nel "
                                 "loro ordine di registrazione; in basso «TOTALE PROVE:» ne indica il numero. "
                                 "Il campo in alto con il pulsante «Trova» cerca una parola nell'elenco."),
                            figure("tests.png", "Riepilogo prove sostenute", "le prove di una studentessa."),
                        }),
                section("Aggiungere o modificare una prova",
                        {
                            step("Premere «Aggiungi prova»; per correggere una prova già registrata, "
                                 "selezionarla con un clic nell'elenco e premere «Modifica prova»."),
                            step("Compilare «Data:», «Tipo prova:», «Docente:», «Aula:» ed «Esito:»; sono "
                                 "tutti obbligatori. La freccia verde accanto alla data scrive la data di "
                                 "oggi."),
                            step("Premere «Salva». Premendolo di nuovo si aggiornano i dati della stessa "
                                 "prova, senza aggiungerne un'altra."),
                            step("Premere «Chiudi», che chiude il registro. Riaprendolo con «Prove sostenute» "
                                 "la prova compare nell'elenco; per aggiungere un'altra prova si preme di "
                                 "nuovo «Aggiungi prova»."),
                            text("Le prove non si cancellano, si possono solo modificare."),
                            figure("testsedit.png", "Riepilogo prove sostenute", "una nuova prova da salvare."),
                        }),
                section("Stampare il riepilogo",
                        {
                            text("«Stampa riepilogo» stampa su fogli A4 orizzontali l'elenco di tutte le prove "
                                 "dello studente, con il totale e la data di stampa."),
                        }),
            }};
}

Chapter studentSheet()
{
    return {QStringLiteral("La scheda dello studente su carta"),
            {text("La scheda di uno studente si stampa su un foglio A4, con la foto in alto e tutti i dati "
                  "sotto. Si stampano i dati così come sono sullo schermo, anche se non ancora salvati.")},
            {
                section("Stampa e anteprima",
                        {
                            step("Nell'Archivio Studenti portare sullo schermo la scheda dello studente."),
                            step("Premere «Stampa»: si apre la finestra «Stampa scheda»; premere «Stampa» e "
                                 "confermare nella finestra della stampante. «Annulla» rinuncia."),
                            step("Per vedere il foglio prima di stamparlo, premere invece «Anteprima» e poi "
                                 "«Mostra anteprima». La finestra dell'anteprima si può ingrandire con "
                                 "«Larghezza pagina» o «Pagina intera», stampa con «Stampa» e si chiude con "
                                 "«Chiudi»."),
                            figure("sheetprint.png", "Stampa scheda", "la conferma della stampa della scheda."),
                            figure("sheetpreview.png", "Scheda studente", "l'anteprima della scheda."),
                        }),
            }};
}

Chapter photos()
{
    return {QStringLiteral("Slide show e foto a tutto schermo"),
            {},
            {
                section("Lo slide show",
                        {
                            text("Il pulsante Slide show dell'Archivio Studenti mostra a tutto schermo, una "
                                 "dopo l'altra, le foto di tutti gli studenti in archivio, ogni sei secondi, "
                                 "nell'ordine delle schede; dopo l'ultima ricomincia dalla prima. All'inizio, "
                                 "e per gli studenti senza foto, compare la scritta di attesa. Un clic in un "
                                 "punto qualsiasi chiude lo slide show. Se l'archivio è vuoto compare "
                                 "«L'archivio non contiene nessuna scheda.»"),
                            text("La lente sotto la foto della scheda mostra invece la sola foto dello studente "
                                 "a tutto schermo, nella finestra «Fai clic sulla foto per chiudere questa "
                                 "finestra»: un clic la chiude."),
                            figure("slideshow.png", "Slide show foto studenti", "una foto dello slide show."),
                        }),
            }};
}

Chapter exportChapter()
{
    return {QStringLiteral("Esportare l'archivio in Excel"),
            {text("L'esportazione scrive tutte le schede in un file che si apre con qualsiasi programma di "
                  "fogli di calcolo (LibreOffice, OpenOffice, Microsoft Excel).")},
            {
                section("Creare il file Archivio_Studenti.xls",
                        {
                            step("Nel menu principale premere «ESPORTA IN EXCEL»: la finestra «Lumetra - "
                                 "Esportazione in Excel» mostra in una griglia tutte le schede dell'archivio, "
                                 "una per riga."),
                            step("Se serve, correggere qualche cella: si possono modificare le colonne dal «CAP» "
                                 "in poi, tranne «Nazione», «Codice fiscale» e «Stato civile». Le correzioni "
                                 "vanno solo nel file esportato, non "
                                 "nell'archivio, e si perdono chiudendo la finestra."),
                            step("Fare clic sull'icona di Excel in alto («Esporta l'archivio in formato "
                                 "Microsoft Excel.», tasto Ctrl+E). Il programma chiede prima «L'esportazione "
                                 "dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                                 "schede presenti in archivio.» e «Si vuole esportare i dati adesso?»: "
                                 "rispondere «Sì» (con «No» non viene scritto nulla)."),
                            step("Alla domanda «Le schede in archivio sono state esportate con successo.» "
                                 "«Si vuole aprire il file di Excel?» rispondere «Sì» per aprire subito il "
                                 "file nel programma di fogli di calcolo."),
                            step("Nel programma di fogli di calcolo salvare il file con un altro nome, o in "
                                 "un'altra cartella, se lo si vuole conservare."),
                            text("Il file si chiama sempre Archivio_Studenti.xls e si trova nella cartella dei "
                                 "dati; ogni esportazione lo sostituisce per intero. Ciò che si cambia o "
                                 "si aggiunge in quel file va perso alla prossima esportazione: per questo "
                                 "conviene salvarne una copia con un altro nome. L'icona di uscita («Esci da "
                                 "questo ambiente di lavoro.») riporta al menu principale."),
                            figure("export.png", "Lumetra - Esportazione in Excel",
                                   "la griglia con tutte le schede dell'archivio."),
                        }),
                section("Un file che conserva ogni valore: .xlsx e .ods",
                        {
                            text("Aprendo il file .xls, i programmi di fogli di calcolo possono cambiare alcuni "
                                 "valori: un CAP 06123 diventa 6123, un numero di cellulare perde lo zero "
                                 "iniziale, una nota che comincia con = diventa una formula. Per consegnare i "
                                 "dati intatti, ad esempio a un ente o a un'agenzia formativa, si usa il "
                                 "pulsante accanto all'icona di Excel («Esporta l'archivio in .xlsx (Excel) o "
                                 ".ods (OpenDocument): ogni valore resta com'è scritto.», tasto Ctrl+Maiusc+E)."),
                            step("Premere il pulsante: la finestra «Esporta l'archivio in un foglio di calcolo» "
                                 "propone il file Archivio_Studenti.xlsx nella cartella dei dati."),
                            step("Scegliere il nome, la cartella e il tipo di file: «Cartella di lavoro di "
                                 "Excel» (.xlsx) oppure «Foglio di calcolo OpenDocument» (.ods, per "
                                 "LibreOffice). Un file con lo stesso nome viene sostituito."),
                            step("Alla domanda «Si vuole aprire il file di Excel?» rispondere «Sì» per aprirlo "
                                 "subito."),
                            text("Ogni cella del file è testo: ogni valore compare esattamente come è scritto "
                                 "nella scheda o corretto nella griglia, anche con lettere che il file .xls non "
                                 "può contenere. La riga dei titoli è in grassetto e resta visibile "
                                 "scorrendo il foglio."),
                        }),
                section("Importare gli studenti da un foglio di calcolo",
                        {
                            text("Un elenco di studenti ricevuto come foglio di calcolo (dalla segreteria, da "
                                 "un'agenzia formativa) diventa un insieme di schede senza ricopiarle a mano. "
                                 "Si importano file .csv (separati da punto e virgola o da virgola, come li "
                                 "salvano Excel e LibreOffice), .xlsx e .ods; la prima riga del foglio deve "
                                 "contenere i titoli delle colonne."),
                            step("Nella finestra dell'esportazione premere il pulsante con il foglio e la freccia "
                                 "verso l'interno («Importa gli studenti da un foglio di calcolo (.csv, .xlsx, "
                                 ".ods).», tasto Ctrl+I) e scegliere il file nella finestra «Importa studenti da "
                                 "un foglio di calcolo»."),
                            step("La finestra «Lumetra - Importazione studenti» mostra il foglio riga per riga. "
                                 "Sopra ogni colonna, nella riga «Campo della scheda:», c'è il campo della scheda "
                                 "che la colonna riempie, riconosciuto dal titolo: i titoli della scheda e "
                                 "dell'esportazione e i nomi più comuni («Cognome» e «Nome» vanno insieme in "
                                 "«Cognome e nome»; CF, Data di nascita, E-mail, Cellulare...). Se un "
                                 "campo è sbagliato lo si sceglie dall'elenco; «(non importare)» lascia fuori "
                                 "la colonna."),
                            step("La prima colonna dice che cosa diventerà ogni riga: «Nuova scheda», «Errori: "
                                 "saltata» o «Doppione: saltata». Le celle in rosso hanno un errore e, sostando "
                                 "con il mouse, dicono quale: un campo obbligatorio vuoto (cognome e nome, sesso, "
                                 "corso, classe, date di inizio e fine), un testo troppo lungo per la scheda, una "
                                 "data non scritta gg/mm/aaaa, un carattere che l'archivio non può contenere, un "
                                 "codice fiscale o una partita IVA non validi. Si correggono scrivendo nella "
                                 "cella (doppio clic o F2); le righe che restano con errori non vengono "
                                 "importate."),
                            step("Una riga con un codice fiscale già presente in archivio, o già comparso più "
                                 "sopra nel foglio, è un doppione. Scegliere «Salta le righe già in archivio» "
                                 "oppure «Aggiorna le schede già in archivio»: l'aggiornamento scrive nella scheda "
                                 "i valori del foglio e lascia com'erano i campi che nel foglio sono vuoti, la "
                                 "foto e gli allegati."),
                            step("Premere «Importa» (Ctrl+S) e confermare. Tutte le righe accettate vengono "
                                 "scritte insieme: se qualcosa va storto, o si preme «Annulla» mentre la barra "
                                 "avanza, l'archivio resta esattamente com'era, senza nessuna scheda nuova."),
                            step("Alla fine il riepilogo elenca le schede inserite con il loro numero, quelle "
                                 "aggiornate e le righe saltate con il motivo: «Stampa» lo stampa, «Salva...» "
                                 "lo salva in un file di testo, «Chiudi» torna alla finestra dell'importazione e "
                                 "da lì, con «Chiudi», all'esportazione, che mostra già le nuove schede."),
                            text("Le schede importate non hanno foto: si aggiungono dalla scheda dello studente."),
                        }),
                section("Importare le foto da una cartella",
                        {
                            text("Le foto di una classe ricevute in una cartella (dal fotografo, su una chiavetta) "
                                 "si abbinano alle schede tutte insieme. Ogni file va alla scheda che il suo nome "
                                 "indica: prima si cerca nel nome un codice fiscale (RSSMRA80A01H501U.jpg, "
                                 "foto_RSSMRA80A01H501U.jpg), poi cognome e nome come sono scritti nella scheda "
                                 "(Rossi Mario.jpg, rossi_mario.jpg: maiuscole, accenti, spazi, trattini e "
                                 "apostrofi non contano), infine il numero della scheda (12.jpg, "
                                 "Scheda_Studente_12.jpg). Si leggono i file JPEG, Bitmap e PNG della cartella, "
                                 "non quelli delle sue sottocartelle."),
                            step("Nella finestra dell'esportazione premere il pulsante con la foto e la freccia "
                                 "verde («Importa le foto di una cartella nelle schede: il nome di ogni file dice a "
                                 "quale scheda va.», tasto Ctrl+Maiusc+I) e scegliere la cartella nella finestra "
                                 "«Selezionare la cartella che contiene le foto da importare.»"),
                            step("La finestra «Lumetra - Importazione delle foto» esamina le foto, con una barra "
                                 "di avanzamento («Annulla» la interrompe senza importare nulla), e le elenca: per "
                                 "ognuna la scheda, la regola con cui è stata abbinata e l'esito. Ogni foto "
                                 "abbinata è già inquadrata come una fototessera intorno al volto, come la "
                                 "proporrebbe la finestra di inquadratura, e la prima colonna mostra il risultato; "
                                 "se non si riconosce un volto, il riquadro sta al centro."),
                            step("Controllare l'elenco. Togliere la spunta a una foto per non importarla; "
                                 "spuntare «Foto intera» per conservarla senza ritagliarla. Le righe in rosso non "
                                 "vengono importate: «Conflitto: più file per la stessa scheda» (togliere o "
                                 "rinominare uno dei file), «Conflitto: corrisponde a più schede» (due studenti con "
                                 "lo stesso nome: rinominare il file con il codice fiscale o con il numero della "
                                 "scheda), «Nessuna scheda corrispondente», «Immagine non leggibile»."),
                            step("Premere «Importa». Se alcune schede hanno già una foto (nell'elenco: "
                                 "«Sostituisce la foto attuale») il programma chiede se sostituirla: «Sì» la "
                                 "sostituisce, «No» lascia le foto attuali e importa le altre, «Annulla» non "
                                 "importa nulla."),
                            step("Le foto vengono salvate una dopo l'altra mentre la barra avanza; «Annulla» si "
                                 "ferma dopo la foto in corso e quelle già salvate restano. Alla fine un messaggio "
                                 "dice quante foto sono state importate e quali immagini non è stato possibile "
                                 "leggere."),
                            text("Ogni foto è salvata come quella caricata nella scheda dello studente: la parte "
                                 "inquadrata alla risoluzione della foto originale, ridotta solo se più alta di "
                                 "1.200 pixel, e girata nel verso giusto secondo l'orientamento registrato dalla "
                                 "fotocamera."),
                        }),
                section("Esportare e importare dal terminale",
                        {
                            text("Per il tecnico della scuola, ad esempio per una copia automatica ogni notte o "
                                 "per caricare un elenco da un collegamento SSH, le stesse operazioni si fanno "
                                 "senza finestre, anche su un computer senza schermo:"),
                            item("Lumetra --esporta archivio.xlsx scrive l'archivio in un foglio .xlsx o .ods, "
                                 "oppure nel file .xls identico a quello della finestra."),
                            item("Lumetra --importa classe.csv importa un foglio come la finestra, con gli stessi "
                                 "controlli; con --aggiorna le schede con lo stesso codice fiscale vengono "
                                 "aggiornate invece che saltate."),
                            text("Il programma chiede la password dell'installazione e la legge dalla prima riga "
                                 "che riceve, oppure dal file indicato con --password-file, che deve essere "
                                 "leggibile soltanto dal suo proprietario (chmod 600). La cartella dei dati è "
                                 "quella che il programma userebbe (--cartella, la variabile LUMETRA_HOME, la "
                                 "cartella del programma). Il risultato è 0 se tutto è stato fatto, 1 se alcune "
                                 "righe sono state saltate (ognuna indicata con il numero di riga e il motivo), "
                                 "2 se non è stato fatto nulla (con il messaggio dell'archivio)."),
                        }),
            }};
}

Chapter statisticsChapter()
{
    return {QStringLiteral("Le statistiche dell'archivio"),
            {text("Ogni anno la scuola deve dire quanti studenti ha avuto ogni corso, chi erano (sesso, età, "
                  "cittadinanza, titolo di studio) e come sono andate le prove. La finestra delle statistiche "
                  "conta tutto dall'archivio, senza liste da contare a mano, e ne stampa il riepilogo.")},
            {
                section("Contare gli studenti di un anno scolastico",
                        {
                            step("Nel menu principale premere «STATISTICHE» (tasto Ctrl+T): si apre la "
                                 "finestra delle statistiche e il conteggio parte subito sull'anno scolastico "
                                 "in corso, dal 1° settembre al 31 agosto. La barra sotto i comandi mostra a che "
                                 "punto è; intanto la finestra resta utilizzabile."),
                            step("Per un altro periodo cambiare le date «Corsi dal:» e «al:»: contano gli "
                                 "studenti il cui corso (dalla «Data inizio» alla «Data fine» della scheda) "
                                 "cade almeno in parte nel periodo. Il conteggio riparte da solo; «Calcola» "
                                 "(tasto F5) lo ripete."),
                            step("Per un solo corso sceglierlo in «Corso:»; «Tutti i corsi» torna all'insieme."),
                            step("Ogni scheda mostra un grafico a barre, con il numero su ogni barra, e accanto "
                                 "la tabella con i numeri e la quota di ciascun gruppo: «Corsi», «Classi», "
                                 "«Sesso», «Età» (all'inizio del corso: 14-17, 18-24, 25-34, 35-49, 50 e oltre), "
                                 "«Italiani e stranieri», «Cittadinanze» (le dieci più frequenti), «Titolo di "
                                 "studio», «Prove per corso» ed «Esiti delle prove» (i dieci più frequenti). "
                                 "Passando con il mouse su una barra se ne leggono il numero e la quota."),
                            figure("statistics.png", "Lumetra - Statistiche",
                                   "gli studenti di un anno scolastico per corso, con la tabella dei numeri."),
                            text("Nulla viene scartato in silenzio: le schede con sesso o data di nascita non "
                                 "leggibili finiscono nel gruppo «non indicato», e il riepilogo dice quante "
                                 "schede hanno date del corso che non si possono leggere (e quindi non "
                                 "rientrano in nessun periodo). Gli esiti delle prove scritti con maiuscole o "
                                 "spazi diversi (“Idoneo”, “IDONEO”, “idoneo ”) contano come uno solo."),
                        }),
                section("Stampare le statistiche o portarle in un foglio di calcolo",
                        {
                            step("«Anteprima» (tasto Ctrl+Maiusc+P) mostra le pagine come verranno stampate; "
                                 "«Stampa» (tasto Ctrl+P) apre la finestra di stampa. Ogni sezione ha il suo "
                                 "grafico e la sua tabella; ogni pagina riporta in alto il periodo, il corso "
                                 "scelto e la data di stampa."),
                            step("«Esporta XLSX» (tasto Ctrl+Maiusc+E) scrive tutte le tabelle in un file "
                                 "Statistiche.xlsx (o .ods), proposto nella cartella dei dati, da consegnare o "
                                 "rielaborare con un programma di fogli di calcolo."),
                        }),
            }};
}

Chapter helpAndData()
{
    return {QStringLiteral("Copie dei dati e guida in linea"),
            {},
            {
                section("Salvataggio e copia dei dati",
                        {
                            text("Alla chiusura del programma non c'è nulla da salvare: le schede si registrano "
                                 "con Salva, le prove con «Salva» del registro, i dati della scuola all'uscita "
                                 "dalla finestra Stampa Tesserini, i margini a ogni stampa del tesserino."),
                            text("Tutto si trova nella cartella dei dati di Lumetra: normalmente la cartella "
                                 "Lumetra nella cartella personale dell'utente oppure, quando l'archivio è "
                                 "condiviso fra più postazioni, la cartella di rete scelta da chi ha installato "
                                 "il programma. Lì si trovano le schede nel file "
                                 "Archivio_Studenti.pro, le foto e il logo nella cartella Anagrafica, le prove "
                                 "nella cartella Archivio_Prove, gli allegati nella cartella "
                                 "Documenti_Allegati, la password nel file unins000.dll, i dati della scuola e "
                                 "le impostazioni di stampa nei file Lumetra.ini e Tesserini.ini. Per una "
                                 "copia di sicurezza si chiude il programma e si copia l'intera cartella su un "
                                 "altro disco o su una chiavetta USB; per ripristinarla si copia la cartella "
                                 "al suo posto."),
                        }),
                section("La guida in linea",
                        {
                            text("Il menu principale, l'Archivio Studenti, la finestra Stampa Tesserini e "
                                 "l'esportazione hanno ciascuno il proprio pulsante della guida (nelle "
                                 "tre aree di lavoro anche il tasto F1), che apre la finestra «Guida "
                                 "all'utilizzo del software» con il testo dedicato "
                                 "a quell'area; i testi sono riportati nell'ultimo capitolo di questo "
                                 "documento. Il collegamento «Visualizza guida in formato PDF», in fondo alla "
                                 "finestra, apre questo documento; «Chiudi» chiude la finestra."),
                            figure("guide.png", "Guida all'utilizzo del software",
                                   "la guida in linea del menu principale."),
                        }),
            }};
}

Chapter troubleshooting()
{
    return {QStringLiteral("Risoluzione dei problemi"),
            {},
            {
                section("Il file di Excel è già aperto",
                        {
                            text("Se al momento dell'esportazione compare «Attenzione: il sistema non permette "
                                 "di esportare i dati.» con «Accertarsi che il file di Excel non sia già "
                                 "aperto.», il file Archivio_Studenti.xls non si è potuto scrivere: di solito "
                                 "perché è aperto nel programma di fogli di calcolo, oppure perché il file è "
                                 "protetto contro la scrittura."),
                            step("Nel programma di fogli di calcolo salvare con un altro nome le modifiche "
                                 "che si vogliono conservare e chiudere il file Archivio_Studenti.xls."),
                            step("Tornare alla finestra dell'esportazione, che è rimasta aperta con la griglia "
                                 "e le eventuali correzioni, e fare di nuovo clic sull'icona di Excel."),
                            text("Alcuni programmi di fogli di calcolo lasciano sostituire il file anche mentre "
                                 "è aperto: allora il messaggio non compare, ma il programma di fogli di "
                                 "calcolo continua a mostrare i dati vecchi finché non si chiude e si riapre "
                                 "il file."),
                        }),
                section("La webcam non si accende",
                        {
                            text("Se dopo «Accendi webcam» il riquadro di sinistra continua a mostrare il "
                                 "disegno della webcam, il programma non ha trovato nessuna webcam pronta: "
                                 "non è collegata oppure la sta usando un altro programma. Non compare nessun "
                                 "messaggio."),
                            step("Controllare che la webcam sia collegata e chiudere gli altri programmi che "
                                 "la usano, ad esempio quelli per le videochiamate."),
                            step("Premere di nuovo «Accendi webcam»: il programma cerca la webcam a ogni "
                                 "pressione, senza bisogno di chiudere la finestra."),
                            text("Non premere «Cattura foto» e «Importa foto in scheda» finché non si vede lo "
                                 "studente: senza webcam verrebbe catturato il disegno. Se la webcam non "
                                 "funziona, chiudere la finestra con «Annulla», fotografare lo studente con una "
                                 "macchina fotografica digitale o un telefono e caricare la foto con "
                                 "«Carica»."),
                        }),
                section("Il tesserino non esce centrato",
                        {
                            text("Ogni stampante comincia a stampare in un punto un po' diverso, per questo la "
                                 "posizione del tesserino si regola con i margini della finestra «Stampa "
                                 "tesserino»."),
                            step("Portare uno studente sul tesserino e stampare una prova su un foglio "
                                 "normale, o su una tessera di scarto."),
                            step("Misurare con un righello di quanti millimetri il tesserino è spostato "
                                 "rispetto al punto giusto, in verticale e in orizzontale."),
                            step("Premere di nuovo «Stampa». Se il tesserino è troppo in alto aumentare "
                                 "«Margine superiore:» di quei millimetri con +; se è troppo in basso "
                                 "diminuirlo con -, anche sotto lo zero. Allo stesso modo «Margine sinistro:» "
                                 "sposta il tesserino a destra (+) o a sinistra (-)."),
                            step("Premere «Stampa» e controllare la nuova prova; ripetere finché il "
                                 "tesserino è al suo posto."),
                            text("I margini vengono memorizzati a ogni stampa (nel file Tesserini.ini della "
                                 "cartella dei dati) e valgono per tutte le stampe successive, anche per "
                                 "i tesserini di una classe con «Stampante per tessere». Se il tesserino esce "
                                 "ruotato o tagliato, controllare anche «Verticale» e «Orizzontale». Se la "
                                 "stampa non riesce compare «Attenzione: la stampa non è andata a buon fine.»: "
                                 "controllare che la stampante sia accesa e configurata."),
                        }),
                section("Password dimenticata",
                        {
                            text("La password non si può recuperare né azzerare dall'interno del programma: "
                                 "non esistono una domanda di sicurezza o una password di riserva. La "
                                 "password è conservata in forma codificata nel file unins000.dll della "
                                 "cartella dei dati, che nonostante il nome è un piccolo file di testo "
                                 "e non un programma."),
                            step("Chiedere a chi ha installato il programma, o a chi ha cura del computer, di "
                                 "chiudere Lumetra e di rimettere nella cartella dei dati il file unins000.dll "
                                 "originale, quello della password iniziale fornito con il programma: la "
                                 "password torna quella del primo accesso. In alternativa si può riprendere il file unins000.dll da "
                                 "una copia di sicurezza della cartella: la password torna quella in uso "
                                 "quando la copia è stata fatta."),
                            step("Entrare nel programma e cambiare subito la password con «Cambia password»."),
                            text("La password protegge l'uso del programma, non i file: chi può aprire la "
                                 "cartella dei dati ne vede tutti i dati. Per questo la "
                                 "cartella e le sue copie di sicurezza vanno tenute dove solo il personale "
                                 "autorizzato può accedere."),
                        }),
                section("Altri messaggi",
                        {
                            item("«Attenzione: il sistema non permette di accedere all'archivio.»: il programma "
                                 "non riesce a leggere o scrivere i file della sua cartella. «Accertarsi di "
                                 "possedere i privilegi di scrittura nella cartella di installazione del "
                                 "programma.» Chi ha cura del computer deve dare all'utente il permesso di "
                                 "scrivere nella cartella, o nella cartella condivisa in rete."),
                            item("«Nessuna stampante installata.»: il computer non ha nessuna stampante; va "
                                 "installata prima di stampare."),
                            item("«L'archivio non contiene nessuna scheda.»: le frecce e lo slide show non "
                                 "hanno nulla da mostrare finché non si salva la prima scheda."),
                        }),
            }};
}

} // namespace

QList<Chapter> chapters()
{
    return {firstStart(), students(), cards(), search(), testsRegister(), studentSheet(), photos(),
            exportChapter(), statisticsChapter(), helpAndData(), troubleshooting()};
}

QString helpTextsTitle()
{
    return QStringLiteral("I testi della guida in linea");
}

QList<Block> helpTextsIntroduction()
{
    return {text("Questi sono i testi che il pulsante della guida mostra nelle tre aree di lavoro. La guida in "
                 "linea del menu principale, «Uno sguardo a Lumetra», è formata dal primo capitolo di questo "
                 "documento con, dopo il suo primo paragrafo, i testi delle tre aree.")};
}

} // namespace Walkthrough
