#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// What the chart module (lumetra_charts, loaded when the statistics window
// first opens) gives the window: one horizontal bar chart in a view of its
// own. Qt Charts and the OpenGL libraries under it would otherwise load at
// every start of the program. The module's one entry point is
// LUMETRA_CHART_MODULE_ENTRY.
struct BarChartData
{
    QString title;
    QFont titleFont;
    QString countName;  // what the bars count
    QStringList labels; // bottom to top, each once
    QList<double> values;
    QFont labelsFont;
    QFont countsFont;
    QColor barColor;
    double barWidth = 0.7; // share of each band
    double axisEnd = 1;    // the count axis' far end
    // The bar under the mouse, an index into labels.
    std::function<void(int)> hovered;
};

struct BarChartModuleEntry
{
    static constexpr int Version = 1;
    int version;
    // An empty chart view (a QChartView), antialiased.
    QWidget *(*create)(QWidget *parent);
    // Replaces what a view from create shows with `data`'s chart.
    void (*show)(QWidget *view, const BarChartData &data);
};
#define LUMETRA_CHART_MODULE_ENTRY "lumetraChartModule"
