// Any file given as a photo or logo: the loader returns a picture or the
// null image, within its memory limit, and never a picture larger than the
// decoder is allowed to allocate.
#include "archive/studentfiles.h"
#include "fuzzcheck.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image plugins are found through the application object.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Scheda_Studente_1.jpg"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }
    const QImage picture = StudentFiles::loadPicture(path);
    if (!picture.isNull())
        FUZZ_CHECK(picture.sizeInBytes() <= qsizetype(256) * 1024 * 1024);
    return 0;
}
