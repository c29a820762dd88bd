#include "atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
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

namespace {

// Renames from over to, replacing to in one step.
bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

bool copyInto(QFile &in, QFile &out)
{
    // In pieces: an attachment may be far larger than is sensible to hold.
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0 || (got > 0 && out.write(buffer.constData(), got) != got))
            return false;
        if (got == 0)
            break;
    }
    if (!out.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fdatasync(out.handle()) != 0)
        return false;
#endif
    return true;
}

} // namespace

bool copyFileAtomically(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // The copy goes to a short name of its own beside the destination (not
    // the destination's name plus a suffix, which a name near the file
    // system's length limit cannot take), then is renamed over it.
    const QString folder = QFileInfo(destination).absolutePath() + QLatin1Char('/');
    QFile out;
    for (int attempt = 0; attempt < 16 && !out.isOpen(); ++attempt) {
        out.setFileName(folder + QStringLiteral(".copia-%1.tmp")
                                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        out.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    }
    if (!out.isOpen())
        return false;
    const bool copied = copyInto(in, out);
    out.close();
    if (!copied || out.error() != QFileDevice::NoError || !replaceFile(out.fileName(), destination)) {
        QFile::remove(out.fileName());
        return false;
    }
    return true;
}
