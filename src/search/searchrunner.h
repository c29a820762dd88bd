#pragma once

#include "search/studentsearch.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <exception>
#include <memory>

class QThread;

// Runs one archive search on a thread of its own, so that the window that
// asked for it keeps painting and answering (its stop button above all)
// while a large archive is scanned. run() returns when the search has ended,
// as a plain call would; the events of every window are handled meanwhile.
class SearchRunner : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Found, Stopped, Failed };

    explicit SearchRunner(QObject *parent = nullptr);
    // Stops a search still running and waits for its thread.
    ~SearchRunner() override;

    // Searches the archive as StudentSearch::run does. Found: the sorted lines
    // are in takeResults(). Stopped: stop() was called, even when the search
    // had got to its end. Failed: the search threw (a FileAccessError when
    // the archive could not be read), kept in failure(). One search at a
    // time: a call while one runs returns Stopped at once.
    Outcome run(const QString &archivePath, const QList<SearchFilter> &filters);
    bool isRunning() const { return m_running; }
    // Asks the running search to stop; run() then returns Stopped soon.
    void stop();

    SearchResults takeResults() { return std::move(m_results); }
    std::exception_ptr failure() const { return m_failure; }

    // How often progressed() is sent while a search runs.
    static constexpr int TickMs = 50;

signals:
    // As a search starts and then every TickMs while it runs: the share done
    // in thousandths and the time since it started.
    void progressed(int permille, qint64 elapsedMs);
    // Sent once a search has ended, just before run() returns.
    void finished();

private:
    void tick();

    bool m_running = false;
    std::unique_ptr<SearchProgress> m_progress;
    QThread *m_thread = nullptr;
    QTimer m_ticker;
    QElapsedTimer m_clock;
    SearchResults m_results;
    std::exception_ptr m_failure;
};
