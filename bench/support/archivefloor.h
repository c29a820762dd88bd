#pragma once

// The floor of every scan of the archive: the file read as the scans read
// it, split in two halves each read on its own thread in blocks of the scan's
// size into one reused huge-page buffer, the bytes left untouched.

#include "archive/largememory.h"
#include "archive/studentrecord.h"
#include "search/studentsearch.h"

#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <thread>

namespace Bench {

// Milliseconds.
inline double twoThreadRead(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const qint64 size = QFile(path).size();
    const qint64 records = size / StudentRecord::Size;
    const qint64 block = StudentSearch::DefaultBlockRecords * StudentRecord::Size;
    const auto readPart = [&name, block](qint64 from, qint64 to) {
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            qFatal("cannot open the archive");
        std::unique_ptr<char, LargeMemory::Release> buffer(static_cast<char *>(LargeMemory::allocate(size_t(block))));
        for (qint64 at = from; at < to;) {
            const ssize_t got = ::pread(fd, buffer.get(), size_t(std::min(block, to - at)), at);
            if (got <= 0)
                break;
            at += got;
        }
        ::close(fd);
    };
    QElapsedTimer clock;
    clock.start();
    const qint64 half = records / 2 * StudentRecord::Size;
    std::thread second(readPart, half, size);
    readPart(0, half);
    second.join();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace Bench
