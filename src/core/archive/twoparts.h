#pragma once

#include "archive/studentarchive.h"

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

// A scan over the records [0, total) of `archive` in two parts: with `split`,
// the second half on a thread of its own, reading through an archive that
// `openOwn()` opens (a std::unique_ptr<StudentArchive>), the first half here.
// `Part` has `first`, `end` (0-based records) and `failure`; scanPart(archive,
// part) scans one. `failed` is raised as soon as a part fails, so that the
// other can stop early; the first failure is thrown again once both ended.
template <typename Part, typename OpenOwn, typename ScanPart>
void scanInTwoParts(StudentArchive &archive, qint64 total, bool split, Part (&parts)[2],
                    std::atomic<bool> &failed, OpenOwn openOwn, ScanPart scanPart)
{
    parts[0].end = split ? total / 2 : total;
    parts[1].first = parts[0].end;
    parts[1].end = total;
    std::thread helper;
    if (split) {
        helper = std::thread([&] {
            try {
                std::unique_ptr<StudentArchive> own = openOwn();
                scanPart(*own, parts[1]);
                own->close();
            } catch (...) {
                parts[1].failure = std::current_exception();
                failed.store(true);
            }
        });
    }
    try {
        scanPart(archive, parts[0]);
    } catch (...) {
        parts[0].failure = std::current_exception();
        failed.store(true);
    }
    if (helper.joinable())
        helper.join();
    for (const Part &part : parts)
        if (part.failure)
            std::rethrow_exception(part.failure);
}
