#include "searchrunner.h"

#include <QEventLoop>
#include <QThread>

#include <optional>

SearchRunner::SearchRunner(QObject *parent) : QObject(parent)
{
    m_ticker.setInterval(TickMs);
    connect(&m_ticker, &QTimer::timeout, this, &SearchRunner::tick);
}

SearchRunner::~SearchRunner()
{
    if (m_thread) {
        m_progress->requestStop();
        m_thread->wait();
    }
}

SearchRunner::Outcome SearchRunner::run(const QString &archivePath, const QList<SearchFilter> &filters)
{
    if (m_running)
        return Outcome::Stopped;
    m_running = true;
    m_results.clear();
    m_failure = nullptr;
    m_progress = std::make_unique<SearchProgress>();

    StudentSearch::Options options;
    options.progress = m_progress.get();
    options.threads = QThread::idealThreadCount() > 1 ? 2 : 1;
    std::optional<SearchResults> found;
    std::exception_ptr failure;
    QEventLoop loop;
    QThread *thread = QThread::create([archivePath, filters, options, &found, &failure] {
        try {
            found = StudentSearch::run(archivePath, filters, options);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    m_thread = thread;
    connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    m_clock.start();
    m_ticker.start();
    thread->start();
    // A first word at once: a watcher may act before the search gets going.
    tick();
    loop.exec();
    thread->wait();
    m_ticker.stop();
    m_thread = nullptr;
    delete thread;

    // A search stopped on request ends as stopped whatever came of it.
    Outcome outcome = Outcome::Stopped;
    if (!m_progress->stopRequested()) {
        if (failure) {
            m_failure = failure;
            outcome = Outcome::Failed;
        } else if (found) {
            m_results = std::move(*found);
            outcome = Outcome::Found;
        }
    }
    m_running = false;
    emit finished();
    return outcome;
}

void SearchRunner::stop()
{
    if (m_running)
        m_progress->requestStop();
}

void SearchRunner::tick()
{
    if (m_running)
        emit progressed(m_progress->permille(), m_clock.elapsed());
}
