#pragma once

#include "base/appcontext.h"
#include "import/importstore.h"

#include <QDialog>

class ImportPreviewModel;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;
class QTableWidget;

// "Importa studenti": a class list read from a sheet (.csv, .xlsx, .ods)
// into new cards. The mapping row `grdMappa` (a combo box `cboCampo<n>` per
// sheet column, n from 1) says which card field each column fills, guessed
// from the header; the preview `grdAnteprima` shows every row with what
// becomes of it and each fault found by the checks of the student window's
// Salva, and takes corrections typed into its cells. Rows whose codice
// fiscale is already in the archive are skipped (`optSalta`) or update that
// card (`optAggiorna`). `cmdImporta` stores all accepted rows in one change
// of the archive, all or none, with a progress box that can stop it, then
// shows the summary, which can be printed or saved.
class TfrmImportaFoglio : public QDialog
{
    Q_OBJECT
public:
    TfrmImportaFoglio(const AppContext &context, QWidget *parent = nullptr);
    ~TfrmImportaFoglio() override;

    // Asks for the sheet (an open dialog), reads it and shows the window
    // modally. Returns true when cards were stored or updated.
    static bool run(const AppContext &context, QWidget *parent);

    // Reads the sheet at `path` and the codici fiscali of the archive into
    // the preview; false after the reason was shown.
    bool load(const QString &path);

    void cmdImportaClick();
    void cmdChiudiClick();

    const ImportSummary &summary() const { return m_summary; }
    bool stored() const { return m_stored; }

private:
    void buildLayout();
    void buildMappingRow();
    void mappingChosen();
    void updateCounts();
    void syncColumnWidths();
    void showSummary();

    AppContext m_context;
    QString m_path;
    ImportPreviewModel *m_model = nullptr;
    QTableView *m_preview = nullptr;
    QTableWidget *m_mapping = nullptr;
    QList<QComboBox *> m_fieldBoxes;
    QRadioButton *m_skip = nullptr;
    QRadioButton *m_update = nullptr;
    QLabel *m_lblFile = nullptr;
    QLabel *m_lblConteggi = nullptr;
    QPushButton *m_cmdImporta = nullptr;
    ImportSummary m_summary;
    bool m_stored = false;
};

// The summary at the end of an import: the text (`txtRiepilogo`), printed
// (`cmdStampa`) or saved as a text file (`cmdSalva`).
class TfrmRiepilogoImport : public QDialog
{
    Q_OBJECT
public:
    TfrmRiepilogoImport(const AppContext &context, const QString &text, QWidget *parent = nullptr);
    void cmdStampaClick();
    void cmdSalvaClick();

private:
    AppContext m_context;
    QString m_text;
};
