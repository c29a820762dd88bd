#pragma once

// Entries that someone with write access to a shared data folder may plant
// there (links, named pipes, devices, huge sparse files), what a tree of
// files holds without following any of them, and a way to run the program's
// calls on them: a call that blocks on a pipe or reads a device without end
// must fail its own case, not hang the run or take the machine's memory.

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Hostile {

inline QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

inline bool makeLink(const QString &target, const QString &link)
{
    QDir().mkpath(QFileInfo(link).absolutePath());
    return ::symlink(encoded(target).constData(), encoded(link).constData()) == 0;
}

inline bool makePipe(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return ::mkfifo(encoded(path).constData(), 0600) == 0;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// `bytes` long, beginning with `head`, taking no room on the disk.
inline bool makeSparse(const QString &path, qint64 bytes, const QByteArray &head)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(head) == head.size() && file.resize(bytes);
}

// Every entry below `root` by its path relative to it, never following a
// link: a link by where it points, a file by a digest of its bytes (of its
// size and first 64 KB when large: a sparse file of gigabytes is not read
// whole), anything else by its kind.
using Tree = QMap<QString, QByteArray>;

inline void addEntries(Tree &tree, const QString &root, const QString &relative, bool withFolders)
{
    DIR *dir = ::opendir(encoded(root + relative).constData());
    if (!dir)
        return;
    while (const dirent *item = ::readdir(dir)) {
        const QString name = QFile::decodeName(item->d_name);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        const QString path = relative + name;
        const QByteArray full = encoded(root + path);
        struct stat status;
        if (::lstat(full.constData(), &status) != 0) {
            tree.insert(path, "vanished");
            continue;
        }
        if (S_ISLNK(status.st_mode)) {
            char target[4096];
            const ssize_t n = ::readlink(full.constData(), target, sizeof target);
            tree.insert(path, "link to " + QByteArray(target, n < 0 ? 0 : int(n)));
        } else if (S_ISDIR(status.st_mode)) {
            if (withFolders)
                tree.insert(path, "folder");
            addEntries(tree, root, path + QLatin1Char('/'), withFolders);
        } else if (S_ISREG(status.st_mode)) {
            QFile file(root + path);
            QByteArray bytes;
            if (file.open(QIODevice::ReadOnly))
                bytes = file.read(64 * 1024);
            tree.insert(path, "file of " + QByteArray::number(qint64(status.st_size)) + " bytes, "
                                  + QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
        } else if (S_ISFIFO(status.st_mode)) {
            tree.insert(path, "named pipe");
        } else {
            tree.insert(path, "special file");
        }
    }
    ::closedir(dir);
}

// `root` with or without its trailing '/'.
inline Tree snapshot(const QString &root, bool withFolders = true)
{
    Tree tree;
    addEntries(tree, root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'), QString(), withFolders);
    return tree;
}

// What changed between two snapshots, one line per entry, for a failure message.
inline QString changes(const Tree &before, const Tree &after)
{
    QStringList lines;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            lines << it.key() + QStringLiteral(": gone");
        else if (after.value(it.key()) != it.value())
            lines << it.key() + QStringLiteral(": ") + QString::fromUtf8(it.value()) + QStringLiteral(" -> ")
                         + QString::fromUtf8(after.value(it.key()));
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()))
            lines << it.key() + QStringLiteral(": new, ") + QString::fromUtf8(it.value());
    return lines.join(QStringLiteral("; "));
}

// A field of /proc/<pid>/status in kB ("VmRSS", "VmHWM"); -1 when unknown.
inline qint64 statusKB(const QByteArray &field, pid_t pid = 0)
{
    QFile file(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// The peak resident memory since construction, above what was resident then.
class PeakMemory
{
public:
    PeakMemory()
    {
        // "5" resets the peak to what is resident now (Linux 4.0 on).
        QFile reset(QStringLiteral("/proc/self/clear_refs"));
        if (reset.open(QIODevice::WriteOnly))
            reset.write("5");
        m_start = statusKB("VmRSS");
    }
    qint64 growthMB() const { return (statusKB("VmHWM") - m_start) / 1024; }

private:
    qint64 m_start = 0;
};

// Failures gathered in a child process, for the parent to report.
struct Checks
{
    QStringList failures;
    void expect(bool ok, const QString &what)
    {
        if (!ok)
            failures << what;
    }
    // Runs `call`, failing when it took longer than a user can wait.
    template<typename F>
    auto timed(const QString &what, F call, int limitMs = 2000)
    {
        QElapsedTimer clock;
        clock.start();
        struct Report
        {
            Checks &checks;
            const QString &what;
            QElapsedTimer &clock;
            int limitMs;
            ~Report()
            {
                if (clock.elapsed() > limitMs)
                    checks.failures << QStringLiteral("%1 took %2 ms").arg(what).arg(clock.elapsed());
            }
        } report{*this, what, clock, limitMs};
        return call();
    }
};

// A call blocked opening a named pipe goes on once the other end is opened:
// after `afterMs` this opens and closes the pipe now and then, so that such a
// call comes back (late, which Checks::timed reports) and the case can finish.
class PipeUnblocker
{
public:
    PipeUnblocker(const QString &pipe, int afterMs)
        : m_thread([this, name = encoded(pipe), afterMs] {
              const auto start = std::chrono::steady_clock::now();
              while (!m_stop) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(afterMs))
                      continue;
                  // Read and write at once: never blocks, and serves both a
                  // blocked reader (who then reads the end) and a blocked writer.
                  const int fd = ::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0)
                      ::close(fd);
              }
          })
    {
    }
    ~PipeUnblocker()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Runs `body` in a child process and returns its failures, plus one for a
// child that crashed, ran longer than `timeoutMs` or grew by more than
// `memoryLimitMB` (then it is stopped at once). The child leaves with _exit:
// nothing of this process (temporary folders above all) is torn down twice.
inline QStringList runIsolated(const std::function<QStringList()> &body, int timeoutMs = 15000,
                               qint64 memoryLimitMB = 1024)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return {QStringLiteral("no pipe for the child: %1").arg(errno)};
    const qint64 startKB = statusKB("VmRSS");
    const pid_t child = ::fork();
    if (child < 0)
        return {QStringLiteral("cannot fork: %1").arg(errno)};
    if (child == 0) {
        ::close(channel[0]);
        // A write into a pipe with no reader fails instead of killing the child.
        ::signal(SIGPIPE, SIG_IGN);
        QStringList failures;
        try {
            failures = body();
        } catch (const std::exception &error) {
            failures << QStringLiteral("uncaught exception: %1").arg(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            failures << QStringLiteral("uncaught exception");
        }
        const QByteArray report = failures.join(QLatin1Char('\n')).toUtf8();
        for (qsizetype done = 0; done < report.size();) {
            const ssize_t n = ::write(channel[1], report.constData() + done, size_t(report.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        ::_exit(0);
    }
    ::close(channel[1]);

    QByteArray report;
    QString stopped;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        pollfd wait{channel[0], POLLIN, 0};
        if (::poll(&wait, 1, 10) > 0) {
            char buffer[4096];
            const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
            if (n > 0) {
                report.append(buffer, n);
                continue;
            }
            if (n == 0 || errno != EINTR)
                break;
        }
        const qint64 rssKB = statusKB("VmRSS", child);
        if (rssKB - startKB > memoryLimitMB * 1024) {
            stopped = QStringLiteral("stopped after using %1 MB more memory than at its start")
                          .arg((rssKB - startKB) / 1024);
            break;
        }
        if (clock.elapsed() > timeoutMs) {
            stopped = QStringLiteral("stopped after running %1 ms (a call blocked)").arg(clock.elapsed());
            break;
        }
    }
    if (!stopped.isEmpty())
        ::kill(child, SIGKILL);
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    QStringList failures;
    if (!report.isEmpty())
        failures = QString::fromUtf8(report).split(QLatin1Char('\n'));
    if (!stopped.isEmpty())
        failures << stopped;
    else if (WIFSIGNALED(status))
        failures << QStringLiteral("crashed with signal %1").arg(WTERMSIG(status));
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        failures << QStringLiteral("ended with status %1").arg(WEXITSTATUS(status));
    return failures;
}

// The names created in some folders while it lives (temporary files above
// all, which are gone again by the time a call returns).
class CreatedNames
{
public:
    explicit CreatedNames(const QStringList &folders)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString &folder : folders) {
            const int watch = ::inotify_add_watch(m_fd, encoded(folder).constData(), IN_CREATE | IN_MOVED_TO);
            if (watch >= 0)
                m_folders.insert(watch, folder);
        }
    }
    ~CreatedNames()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CreatedNames(const CreatedNames &) = delete;
    CreatedNames &operator=(const CreatedNames &) = delete;

    bool isWatching() const { return m_fd >= 0 && !m_folders.isEmpty(); }

    // Full paths, in the order they were made, each once.
    QStringList take()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len > 0) {
                    const QString path = m_folders.value(event->wd) + QLatin1Char('/') + QFile::decodeName(event->name);
                    if (!m_names.contains(path))
                        m_names << path;
                }
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
        return m_names;
    }

private:
    int m_fd;
    QMap<int, QString> m_folders;
    QStringList m_names;
};

} // namespace Hostile
