#pragma once

#include "base/appcontext.h"
#include "import/photoimport.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Importa foto": the photos of a folder, each matched to one card
// (PhotoImport::match) and framed as an ID photo without asking, in one
// review list: the card and the rule each file matched by, the framed result,
// the conflicts, the files that match no card and those that cannot be read.
// The operator unticks a photo or keeps it whole ("Foto intera"), and
// "Importa" stores the ticked ones, asking first before any card's existing
// photo is replaced. A progress bar and "Annulla" while the folder is
// examined and while the photos are stored.
class TfrmImportaFoto : public QDialog
{
    Q_OBJECT
public:
    // Asks for the folder (the platform's folder dialog) and, unless the
    // operator cancels, opens the window on it modally.
    static void run(const AppContext &context, QWidget *parent);

    TfrmImportaFoto(const AppContext &context, const QString &sourceFolder, QWidget *parent = nullptr);
    ~TfrmImportaFoto() override;

    // True once the folder has been examined and the list is complete.
    bool isReady() const { return m_ready; }
    const QList<PhotoImport::Item> &items() const { return m_items; }

    void btnImportaClick();
    void btnAnnullaClick();
    void btnChiudiClick();

    static QString folderDialogTitle();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    // Reads the cards, matches the files and frames the matched photos,
    // filling the list; stopped with Annulla, the window closes.
    void examine();
    void addRow(int index);
    void showSummary();
    void setWorking(bool working);
    // Steps the progress bar and lets the window answer; false once the
    // operator pressed Annulla.
    bool step(int done, int total);

    AppContext m_context;
    QString m_sourceFolder;
    QList<PhotoImport::Item> m_items;
    QList<PhotoImport::Framing> m_framings; // one per item; empty for the files not framed
    QTreeWidget *m_list = nullptr;
    QLabel *m_summary = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_importa = nullptr;
    QPushButton *m_annulla = nullptr;
    QPushButton *m_chiudi = nullptr;
    bool m_started = false;
    bool m_ready = false;
    bool m_stopRequested = false;
};
