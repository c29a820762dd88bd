#pragma once

// Medians, spread and peak memory, as every benchmark reports them.

#include <QByteArray>
#include <QElapsedTimer>
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

// "median ms [min-max]", values in milliseconds.
inline QByteArray spreadText(const std::vector<double> &values)
{
    const Spread s = spread(values);
    return QByteArray::number(s.median, 'f', 1) + " ms [" + QByteArray::number(s.low, 'f', 1) + "-"
           + QByteArray::number(s.high, 'f', 1) + "]";
}

inline double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// A line of this process's /proc status in MB ("VmHWM", "VmRSS"); -1 when
// unknown.
inline double statusMb(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch m = QRegularExpression(QString::fromLatin1(key) + QStringLiteral(":\\s+(\\d+) kB"))
                                          .match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024.0 : -1;
}

// This process's peak resident memory in MB (VmHWM); -1 when unknown.
inline double peakMb()
{
    return statusMb("VmHWM");
}

// Its resident memory now, in MB (VmRSS).
inline double residentMb()
{
    return statusMb("VmRSS");
}

// Forgets the peak so far: the next peakMb() is the peak from here on.
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace Bench
