// Qt Charts, in a module of its own: it and the OpenGL libraries it needs
// load when the statistics window first opens, not at every start of the
// program. StatsSectionView loads it.
#include "barchartmodule.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace {

QWidget *create(QWidget *parent)
{
    auto *view = new QChartView(parent);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

void show(QWidget *widget, const BarChartData &data)
{
    auto *view = qobject_cast<QChartView *>(widget);
    if (!view)
        return;
    auto *chart = new QChart;
    chart->setTitle(data.title);
    chart->setTitleFont(data.titleFont);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);

    auto *set = new QBarSet(data.countName);
    set->setColor(data.barColor);
    set->setLabelColor(Qt::black);
    for (const double value : data.values)
        *set << value;
    auto *series = new QHorizontalBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setBarWidth(data.barWidth);
    chart->addSeries(series);

    auto *names = new QBarCategoryAxis;
    names->append(data.labels);
    names->setLabelsFont(data.labelsFont);
    chart->addAxis(names, Qt::AlignLeft);
    series->attachAxis(names);
    auto *counts = new QValueAxis;
    counts->setRange(0, data.axisEnd);
    counts->setLabelFormat(QStringLiteral("%d"));
    counts->setLabelsFont(data.countsFont);
    counts->applyNiceNumbers();
    // Counts are whole numbers: no more ticks than there are on the axis
    // (an empty chart showed 0 five times before its 1).
    const int whole = int(counts->max()) + 1;
    if (counts->tickCount() > whole)
        counts->setTickCount(std::max(2, whole));
    chart->addAxis(counts, Qt::AlignBottom);
    series->attachAxis(counts);

    if (data.hovered) {
        QObject::connect(set, &QBarSet::hovered, view, [hovered = data.hovered](bool status, int index) {
            if (status)
                hovered(index);
        });
    }
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
}

const BarChartModuleEntry kEntry = {BarChartModuleEntry::Version, &create, &show};

} // namespace

extern "C" Q_DECL_EXPORT const BarChartModuleEntry *lumetraChartModule()
{
    return &kEntry;
}
