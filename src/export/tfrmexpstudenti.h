#pragma once

#include "base/appcontext.h"

#include <QDialog>

class ArchiveTableModel;
class ExportGrid;
class QLabel;

// The export window: the whole archive in the grid `grdRecords` (some columns
// editable, the typing kept only as long as the window) and the export of the
// grid to "Archivio_Studenti.xls" in the data folder, or to a workbook
// (.xlsx or .ods) where the operator chooses. A new window for every
// opening, shown modally; the archive is read once, when it is first shown.
class TfrmExpStudenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmExpStudenti(const AppContext &context, QWidget *parent = nullptr);
    ~TfrmExpStudenti() override;

    static QString idleHint();
    QString exportPath() const;

    // Asks, writes the file (the failure message when it cannot be written,
    // the previous file then kept whole), and offers to open it.
    void cmdEsportaClick();
    // Asks where (a save dialog proposing "Archivio_Studenti.xlsx" in the data
    // folder, which asks before replacing a file; a name ending in ".ods"
    // chooses that format), writes the workbook (the same failure message,
    // the previous file then kept whole), and offers to open it.
    void cmdEsportaXlsxClick();
    // Photos brought in from a folder chosen by the operator (TfrmImportaFoto).
    void cmdImportaFotoClick();
    // Opens the import of a class list from a sheet (TfrmImportaFoglio);
    // when cards were stored the grid is read again.
    void cmdImportaStudentiClick();
    void cmdGuidaClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    // Reads the archive into the grid; a failure ends the reading silently,
    // the rows read so far stay.
    // `keepEdits`: see ArchiveTableModel::load.
    void fillGrid(bool keepEdits = false);

    AppContext m_context;
    ArchiveTableModel *m_model = nullptr;
    ExportGrid *m_grid = nullptr;
    QLabel *m_panInfo = nullptr;
    bool m_filled = false;
};
