#pragma once

#include "stats/archivestats.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// One breakdown on screen: its bar chart (Qt Charts, a count on each bar) at
// the left, its table of numbers at the right. Resting the mouse on a bar
// shows its count and share in a tooltip and in the line `lblDettaglio_<id>`
// under the chart. Controls: `cht_<id>` (the chart view, from the chart
// module; a line saying the chart is missing when the module cannot be
// loaded), `tbl_<id>`.
class StatsSectionView : public QWidget
{
    Q_OBJECT
public:
    explicit StatsSectionView(const QString &id, QWidget *parent = nullptr);

    void setSection(const ArchiveStats::Section &section);
    // The text shown for the bar of `row` (of the chart's rows).
    static QString barText(const ArchiveStats::Section &section, const ArchiveStats::Row &row);

private:
    QString m_id;
    QWidget *m_view = nullptr; // null without the chart module
    QTableWidget *m_table = nullptr;
    QLabel *m_detail = nullptr;
};
