#include "exportgrid.h"

#include "exportcolumns.h"

#include "base/forms.h"

#include <QHeaderView>

ExportGrid::ExportGrid(QWidget *parent) : QTableView(parent)
{
    setFont(Forms::verdana(12));
    setAlternatingRowColors(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::AlternateBase, QColor(0xEA, 0xF1, 0xF8));
    setPalette(colours);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // Fixed rows keep a grid of a hundred thousand rows as quick as one of ten.
    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(21);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView *columns = horizontalHeader();
    columns->setFont(Forms::verdana(12, true));
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setFixedHeight(23);
}

void ExportGrid::applyColumnWidths()
{
    const auto &table = ExportColumns::columns();
    for (size_t c = 0; c < table.size(); ++c)
        setColumnWidth(int(c), table[c].gridWidth);
}

void ExportGrid::commitPendingEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}
