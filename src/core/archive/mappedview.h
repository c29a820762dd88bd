#pragma once

#include <QtGlobal>

#include <atomic>

// A read-only view of a range of an open file, for scans that look at a few
// bytes here and there of a large file: the pages are mapped straight from
// the system's file cache, so nothing is copied and the memory a scan holds
// stays the size of one view however large the file.
//
// Another workstation may shorten the file while it is mapped. Touching a
// page past the new end would end the process with a bus error; a view
// instead reads zeros from that page to its end, and wasCut() turns true.
// A caller must therefore check wasCut() before it trusts what it has read.
//
// Where the system cannot map the file, map() fails and the caller reads the
// file its own way.
class MappedView
{
public:
    MappedView() = default;
    ~MappedView();
    MappedView(const MappedView &) = delete;
    MappedView &operator=(const MappedView &) = delete;

    // Maps `size` bytes from `offset` of the open descriptor fd, replacing
    // any range mapped before. False when the system refused.
    bool map(int fd, qint64 offset, qint64 size);
    void unmap();

    const char *data() const { return m_data; }
    qint64 size() const { return m_size; }
    // The file ended before the end of the view when a page was touched.
    bool wasCut() const;

    // False where the system has no file mapping.
    static bool isAvailable();

private:
    char *m_base = nullptr; // page-aligned start of the mapping
    qint64 m_length = 0;    // of the mapping
    char *m_data = nullptr; // the requested offset within it
    qint64 m_size = 0;
    int m_slot = -1;        // in the table the bus-error handler reads
};
