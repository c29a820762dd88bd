#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// A whole file written so that a crash or a full disk leaves either the old
// file or the new one, never a truncated mix. The new content goes to a
// temporary file beside the target ("<name>.<6 letters or digits>.lumetra-tmp",
// or ".copia.<6>.lumetra-tmp" for a name too long to take the suffix), which
// then takes the target's name once all of it is on the disk. The folder is
// reached by the data-folder rules (DataFolder::Place): under a data folder
// an existing target that is not a regular file (a link, a pipe) is refused;
// outside, a link at the target is replaced, never written through.
class AtomicWriter
{
public:
    explicit AtomicWriter(const QString &path);
    // Not committed: the temporary file is removed, the target untouched.
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter &) = delete;
    AtomicWriter &operator=(const AtomicWriter &) = delete;

    // False when the target is refused or no temporary file could be made.
    bool isOpen() const;
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &data) { return write(data.constData(), data.size()); }
    // Everything to the disk, then the file under the target's name. False
    // when anything failed since the start (nothing was replaced then).
    bool commit();
    // Why the write failed: the system's error number of the first failure
    // (EISDIR or EPERM for a refused target), 0 while nothing failed.
    int error() const;

private:
    struct State;
    std::unique_ptr<State> m;
};

// The whole of `data` as the file at path. False when nothing was replaced;
// `error`, when given, then receives AtomicWriter::error().
bool writeFileAtomically(const QString &path, const QByteArray &data, int *error = nullptr);

// Copies the file at source over destination the same way: the destination is
// replaced only once the whole copy is on disk; a source that cannot be read
// to its end leaves the destination as it was. False when nothing was replaced.
bool copyFileAtomically(const QString &source, const QString &destination);

// Removes the temporary files that writes interrupted by a crash or a power
// cut left in `folder` and in its photo, tests and attachments folders. Only
// names AtomicWriter makes are touched, and never the temporary file of a
// write still running on another workstation. Returns how many went.
int removeInterruptedWrites(const QString &folder);
