#pragma once

#include "stats/archivestats.h"

#include <QObject>
#include <QTimer>

#include <exception>
#include <memory>
#include <optional>

class QThread;

// Counts the statistics on a thread of its own while the window goes on
// answering: start() returns at once, progressed() reports as the count
// goes, finished() when it ends. A start while a count runs stops that one
// and starts the new one after it: only the last request's outcome is told.
class StatsRunner : public QObject
{
    Q_OBJECT
public:
    explicit StatsRunner(QObject *parent = nullptr);
    // Stops a count still running and waits for its thread.
    ~StatsRunner() override;

    void start(const QString &folder, const ArchiveStats::Options &options);
    // Stops the running count; finished() is not sent for it.
    void stop();
    bool isRunning() const { return m_thread != nullptr; }

    // After finished(true): what was counted.
    const std::optional<ArchiveStats::Result> &result() const { return m_result; }
    // After finished(false): what the count threw (FileAccessError when the
    // archive cannot be read).
    std::exception_ptr failure() const { return m_failure; }

    static constexpr int TickMs = 50;

signals:
    void progressed(int permille);
    void finished(bool counted);

private:
    struct Job;
    void launch();
    void ended();

    QThread *m_thread = nullptr;
    std::shared_ptr<Job> m_job;
    std::shared_ptr<Job> m_pending;
    QTimer m_ticker;
    std::optional<ArchiveStats::Result> m_result;
    std::exception_ptr m_failure;
};
