#include "statsrunner.h"

#include <QThread>

struct StatsRunner::Job
{
    QString folder;
    ArchiveStats::Options options;
    ArchiveStats::Progress progress;
    std::optional<ArchiveStats::Result> result;
    std::exception_ptr failure;
    bool dropped = false; // replaced or stopped: its outcome is not told
};

StatsRunner::StatsRunner(QObject *parent) : QObject(parent)
{
    m_ticker.setInterval(TickMs);
    connect(&m_ticker, &QTimer::timeout, this, [this] {
        if (m_job)
            emit progressed(m_job->progress.permille());
    });
}

StatsRunner::~StatsRunner()
{
    m_pending.reset();
    if (m_thread) {
        m_job->progress.requestStop();
        m_thread->wait();
        delete m_thread;
    }
}

void StatsRunner::start(const QString &folder, const ArchiveStats::Options &options)
{
    auto job = std::make_shared<Job>();
    job->folder = folder;
    job->options = options;
    if (m_thread) {
        m_job->dropped = true;
        m_job->progress.requestStop();
        m_pending = job;
        return;
    }
    m_job = job;
    launch();
}

void StatsRunner::stop()
{
    m_pending.reset();
    if (m_thread) {
        m_job->dropped = true;
        m_job->progress.requestStop();
    }
}

void StatsRunner::launch()
{
    m_result.reset();
    m_failure = nullptr;
    Job *job = m_job.get();
    job->options.progress = &job->progress;
    m_thread = QThread::create([job] {
        try {
            job->result = ArchiveStats::count(job->folder, job->options);
        } catch (...) {
            job->failure = std::current_exception();
        }
    });
    connect(m_thread, &QThread::finished, this, &StatsRunner::ended);
    m_thread->start(QThread::LowPriority);
    m_ticker.start();
    emit progressed(0);
}

void StatsRunner::ended()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_ticker.stop();
    const std::shared_ptr<Job> job = std::move(m_job);
    if (m_pending) {
        m_job = std::move(m_pending);
        launch();
        return;
    }
    if (job->dropped)
        return;
    if (job->failure) {
        m_failure = job->failure;
        emit finished(false);
        return;
    }
    m_result = std::move(job->result);
    emit progressed(1000);
    emit finished(m_result.has_value());
}
