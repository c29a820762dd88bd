#include "statssectionview.h"

#include "barchartmodule.h"

#include "base/forms.h"
#include "modules/programmodule.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The chart module, loaded once; null when it cannot be loaded.
const BarChartModuleEntry *chartModule()
{
    static const BarChartModuleEntry *const entry =
        ProgramModule::table<BarChartModuleEntry>(QStringLiteral("lumetra_charts"), LUMETRA_CHART_MODULE_ENTRY);
    return entry;
}

} // namespace

StatsSectionView::StatsSectionView(const QString &id, QWidget *parent) : QWidget(parent), m_id(id)
{
    setObjectName(QStringLiteral("pan_") + id);
    auto *chartSide = new QVBoxLayout;
    QWidget *chart = nullptr;
    if (const BarChartModuleEntry *module = chartModule()) {
        chart = m_view = module->create(this);
    } else {
        auto *missing = new QLabel(
            QStringLiteral("Il grafico non può essere mostrato: manca il modulo lumetra_charts del programma."), this);
        missing->setTextFormat(Qt::PlainText);
        missing->setAlignment(Qt::AlignCenter);
        missing->setWordWrap(true);
        chart = missing;
    }
    chart->setObjectName(QStringLiteral("cht_") + id);
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("lblDettaglio_") + id);
    m_detail->setFont(Forms::verdana(12));
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setText(QStringLiteral("Passare con il mouse su una barra per vederne il numero e la quota."));
    chartSide->addWidget(chart, 1);
    chartSide->addWidget(m_detail);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("tbl_") + id);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->setFont(Forms::verdana(12));
    m_table->setColumnCount(3);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(chartSide, 3);
    layout->addWidget(m_table, 2);
}

QString StatsSectionView::barText(const ArchiveStats::Section &section, const ArchiveStats::Row &row)
{
    // "Studenti" and "Prove" name what is counted; one is "studente", "prova".
    QString unit = section.countHeader.toLower();
    if (row.count == 1)
        unit = unit == QLatin1String("prove") ? QStringLiteral("prova") : QStringLiteral("studente");
    return row.label + QStringLiteral(": ") + QString::number(row.count) + QLatin1Char(' ') + unit
         + QStringLiteral(" (") + section.share(row.count) + QLatin1Char(')');
}

void StatsSectionView::setSection(const ArchiveStats::Section &section)
{
    const QList<ArchiveStats::Row> rows = ArchiveStats::chartRows(section);
    if (m_view) {
        BarChartData chart;
        chart.title = section.title;
        chart.titleFont = Forms::verdana(14, true);
        chart.countName = section.countHeader;
        qint64 largest = 0;
        // Bottom to top on the axis: the largest group first is the last added.
        for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
            QString label = it->label;
            // The axis takes each name once.
            while (chart.labels.contains(label))
                label += QLatin1Char(' ');
            chart.labels << label;
            chart.values << double(it->count);
            largest = std::max(largest, it->count);
        }
        chart.labelsFont = Forms::verdana(11);
        chart.countsFont = Forms::verdana(10);
        chart.barColor = QColor(0x41, 0x69, 0xE1);
        // A few groups get slim bars, not bars filling the whole chart.
        chart.barWidth = std::min(0.7, 0.15 * double(rows.size()) + 0.1);
        // Room at the end of the longest bar for its count.
        chart.axisEnd = std::max<double>(1.0, double(largest) * 1.15);
        const qsizetype n = rows.size();
        chart.hovered = [this, section, rows, n](int index) {
            if (index < 0 || index >= n)
                return;
            const QString text = barText(section, rows.at(n - 1 - index));
            m_detail->setText(text);
            QToolTip::showText(QCursor::pos(), text, m_view);
        };
        chartModule()->show(m_view, chart);
    }

    m_table->clearContents();
    m_table->setHorizontalHeaderLabels({section.groupHeader, section.countHeader, QStringLiteral("Quota")});
    m_table->setRowCount(int(section.rows.size()) + 1);
    const auto put = [this](int r, int c, const QString &text, bool bold) {
        auto *item = new QTableWidgetItem(text);
        if (c > 0)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (bold) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        }
        m_table->setItem(r, c, item);
    };
    int r = 0;
    for (const ArchiveStats::Row &row : section.rows) {
        put(r, 0, row.label, false);
        put(r, 1, QString::number(row.count), false);
        put(r, 2, section.share(row.count), false);
        ++r;
    }
    put(r, 0, QStringLiteral("Totale"), true);
    put(r, 1, QString::number(section.total()), true);
    put(r, 2, section.share(section.total()), true);
}
