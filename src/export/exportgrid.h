#pragma once

#include <QTableView>

// The export grid: fixed 21-pixel rows however many there are, alternating
// row background, typing into an editable cell starts editing it.
class ExportGrid : public QTableView
{
    Q_OBJECT
public:
    explicit ExportGrid(QWidget *parent = nullptr);

    // Column widths from ExportColumns; call after setModel().
    void applyColumnWidths();

    // Stores the text of a cell being edited, as leaving the cell would: the
    // picture buttons take no focus, so an export must not lose it.
    void commitPendingEdit();
};
