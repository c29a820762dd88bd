#pragma once

#include "testutil.h"

#include "base/widgets.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "card/cardart.h"
#include "card/tfrmtessera.h"
#include "settings/inifile.h"
#include "settings/schooldata.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>

// A card of the archive told apart by n; Studente, Corso, Classe, Inizio and
// Fine are what the ID card shows.
inline StudentRecord cardRecord(int n)
{
    StudentRecord record;
    record[StudentRecord::Studente] = QStringLiteral("Verdi Giulia %1").arg(n);
    record[StudentRecord::Sesso] = QStringLiteral("F");
    record[StudentRecord::CodFisc] = QStringLiteral("VRDGLI80A41H501%1").arg(n % 10);
    record[StudentRecord::Corso] = QStringLiteral("Fotografia %1").arg(n);
    record[StudentRecord::Classe] = QStringLiteral("%1A").arg(n);
    record[StudentRecord::Inizio] = QStringLiteral("0%1/09/2026").arg(n % 10);
    record[StudentRecord::Fine] = QStringLiteral("30/06/202%1").arg(n % 10);
    record[StudentRecord::DataEsame] = QStringLiteral("15/07/2027");
    return record;
}

inline void writeCards(const TestFolder &folder, const QList<StudentRecord> &records, int fragment = 0)
{
    QByteArray bytes;
    for (const StudentRecord &record : records)
        bytes += record.encode();
    bytes += QByteArray(fragment, 'x');
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), bytes);
}

inline void writeArchiveOf(const TestFolder &folder, int count)
{
    QList<StudentRecord> records;
    for (int n = 1; n <= count; ++n)
        records.append(cardRecord(n));
    writeCards(folder, records);
}

// A picture that is clearly no placeholder: coloured stripes.
inline QImage stripes(int width, int height, const QColor &colour = Qt::darkGreen)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QPainter painter(&image);
    for (int x = 0; x < width; x += 16)
        painter.fillRect(x, 0, 8, height, colour);
    return image;
}

inline QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG whose header claims 60000 x 60000 pixels: decoding it would take
// gigabytes.
inline QByteArray enormousJpeg()
{
    QByteArray jpeg = encoded(stripes(64, 48), "JPG");
    const int frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    jpeg[frame + 5] = char(0xEA);
    jpeg[frame + 6] = char(0x60);
    jpeg[frame + 7] = char(0xEA);
    jpeg[frame + 8] = char(0x60);
    return jpeg;
}

inline QString photoFile(int n)
{
    return QStringLiteral("Anagrafica/Scheda_Studente_%1.jpg").arg(n);
}

// The card window as the start menu shows it.
struct CardWindow
{
    TestFolder folder;
    TfrmTessera *window = nullptr;

    CardWindow() : window(new TfrmTessera(folder.context)) {}
    ~CardWindow() { delete window; }

    void show()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->activateWindow();
    }
    QLabel *label(const QString &name) const { return findControl<QLabel>(window, name); }
    QString text(const QString &name) const { return label(name)->text(); }
    QString position() const { return text(QStringLiteral("lblPosizione")); }
    void setPosition(const QString &text) const { label(QStringLiteral("lblPosizione"))->setText(text); }
    PictureBox *picture(const QString &name) const { return findControl<PictureBox>(window, name); }
    QImage photo() const { return picture(QStringLiteral("imgFoto"))->image(); }
    QImage logo() const { return picture(QStringLiteral("imgLogo"))->image(); }
    bool showsBlankPhoto() const { return photo() == blankPicture(); }
    bool showsLogoPlaceholder() const { return logo() == CardArt::logoPlaceholder(); }
    void click(const QString &name) const { QTest::mouseClick(findControl<QWidget>(window, name), Qt::LeftButton); }
    int messageCount() const { return folder.platform.messages.size(); }

    // The five student labels, in the order the card lists them.
    QStringList student() const
    {
        return {text(QStringLiteral("txtTesserato")), text(QStringLiteral("txtCarica")),
                text(QStringLiteral("txtNumTessera")), text(QStringLiteral("txtDataRil")),
                text(QStringLiteral("txtDataScade"))};
    }
    // The four school labels.
    QStringList school() const
    {
        return {text(QStringLiteral("titAssociazione")), text(QStringLiteral("titSottotitolo01")),
                text(QStringLiteral("titSottotitolo02")), text(QStringLiteral("titAnnotazioni"))};
    }
};

inline QStringList studentOf(const StudentRecord &record)
{
    return {record[StudentRecord::Studente], record[StudentRecord::Corso], record[StudentRecord::Classe],
            record[StudentRecord::Inizio], record[StudentRecord::Fine]};
}

inline QStringList emptyStudent()
{
    return {QStringLiteral("Cognome e nome"), QStringLiteral("Corso frequentato"), QStringLiteral("Classe"),
            QStringLiteral("GG/MM/AAAA"), QStringLiteral("GG/MM/AAAA")};
}

inline QStringList defaultSchool()
{
    return {QStringLiteral("Denominazione Scuola"), QStringLiteral("Indirizzo"), QStringLiteral("Recapiti"),
            QStringLiteral("Note")};
}
