#include "atomicfile.h"

#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

bool writeFileAtomically(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile::commit() may report success after a failed final flush on a
    // full disk, so the data is forced out and checked before the rename.
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
#ifdef Q_OS_UNIX
    if (::fdatasync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
#endif
    return file.commit();
}
