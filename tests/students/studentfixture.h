#pragma once

#include "testutil.h"

#include "base/widgets.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "media/tfrminquadrafoto.h"
#include "students/tfrmstudenti.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

// A card with the six required fields and a few others, told apart by n.
inline StudentRecord sampleCard(int n)
{
    StudentRecord card;
    card[StudentRecord::Studente] = QStringLiteral("Rossi Maria %1").arg(n);
    card[StudentRecord::Sesso] = QStringLiteral("F");
    card[StudentRecord::Citta] = QStringLiteral("Città di Castello");
    card[StudentRecord::Corso] = QStringLiteral("Corso %1").arg(n);
    card[StudentRecord::Classe] = QStringLiteral("3B");
    card[StudentRecord::Inizio] = QStringLiteral("01/09/2026");
    card[StudentRecord::Fine] = QStringLiteral("30/06/2027");
    card[StudentRecord::Note] = QStringLiteral("nota %1").arg(n);
    card[StudentRecord::File01] = QStringLiteral("pagella_%1.pdf").arg(n);
    card[StudentRecord::Desc01] = QStringLiteral("Pagella");
    return card;
}

// An archive of `count` sample cards, plus `fragment` stray bytes at the end.
inline void writeArchive(const TestFolder &folder, int count, int fragment = 0)
{
    QByteArray bytes;
    for (int n = 1; n <= count; ++n)
        bytes += sampleCard(n).encode();
    bytes += QByteArray(fragment, 'x');
    folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), bytes);
}

inline QByteArray archiveBytes(const TestFolder &folder)
{
    return folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
}

// A picture that is clearly not the silhouette: coloured stripes.
inline QImage stripes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int x = 0; x < width; x += 16)
        painter.fillRect(x, 0, 8, height, x % 32 ? Qt::darkRed : Qt::darkGreen);
    painter.fillRect(8, 0, 8, height, Qt::yellow);
    return image;
}

// The picture as a JPEG file's bytes, as the program saves photos.
inline QByteArray jpegOf(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data;
}

inline QString photoFile(int n)
{
    return QStringLiteral("Anagrafica/Scheda_Studente_%1.jpg").arg(n);
}

inline void writePhoto(const TestFolder &folder, int n, const QImage &image)
{
    QVERIFY(StudentFiles::saveStudentPhoto(folder.context.folder, QString::number(n), image));
}

// Answers the framing dialog that follows a photo loaded or imported by
// pressing `button` there; "btnIntera" keeps the whole picture.
inline void answerFraming(const QString &button = QStringLiteral("btnIntera"))
{
    whenModalShown<TfrmInquadraFoto>([button](TfrmInquadraFoto *dialog) {
        QTest::mouseClick(findControl<QWidget>(dialog, button), Qt::LeftButton);
    });
}

// The window as the start menu shows it.
struct StudentWindow
{
    TestFolder folder;
    TfrmStudenti *window = nullptr;

    StudentWindow() : window(new TfrmStudenti(folder.context)) {}
    ~StudentWindow() { delete window; }

    void show()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->activateWindow();
    }
    QLineEdit *edit(StudentRecord::Field f) const
    {
        return findControl<QLineEdit>(window, StudentRecord::controlName(f));
    }
    QString text(StudentRecord::Field f) const
    {
        return f >= StudentRecord::File01 ? label(StudentRecord::controlName(f))->text() : edit(f)->text();
    }
    QLabel *label(const QString &name) const { return findControl<QLabel>(window, name); }
    QString position() const { return label(QStringLiteral("lblPosizione"))->text(); }
    void setPosition(const QString &text) const { label(QStringLiteral("lblPosizione"))->setText(text); }
    PictureBox *photo() const { return findControl<PictureBox>(window, QStringLiteral("imgFoto")); }
    bool showsBlank() const { return photo()->image() == blankPicture(); }
    void click(const QString &button) const
    {
        QTest::mouseClick(findControl<QWidget>(window, button), Qt::LeftButton);
    }
    void fill(const StudentRecord &card) const
    {
        for (int f = 0; f < 26; ++f)
            edit(StudentRecord::Field(f))->setText(card[StudentRecord::Field(f)]);
        for (int f = StudentRecord::File01; f < StudentRecord::FieldCount; ++f)
            label(StudentRecord::controlName(StudentRecord::Field(f)))->setText(card[StudentRecord::Field(f)]);
    }
    int messageCount() const { return folder.platform.messages.size(); }
};
