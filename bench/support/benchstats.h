#pragma once

// Medians, spread and peak memory, as every benchmark reports them.

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace Bench {

struct Spread
{
    double median, low, high;
};

inline Spread spread(std::vector<double> values)
{
    if (values.empty())
        return {0, 0, 0};
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

inline double median(std::vector<double> values)
{
    return spread(std::move(values)).median;
}

// This process's peak resident memory in MB (VmHWM); -1 when unknown.
inline double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024.0 : -1;
}

} // namespace Bench
