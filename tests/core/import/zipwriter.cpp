#include "zipwriter.h"

#include <QFile>

#include <zip.h>

bool writeZip(const QString &path, const QList<QPair<QByteArray, QByteArray>> &parts)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto &[name, bytes] : parts) {
        zip_fileinfo info{};
        ok = ok
             && zipOpenNewFileInZip64(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                      Z_DEFAULT_COMPRESSION, 0)
                    == ZIP_OK
             && zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size())) == ZIP_OK
             && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

