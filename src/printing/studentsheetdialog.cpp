#include "studentsheetdialog.h"

#include "reportoutput.h"
#include "report/studentsheet.h"

#include "base/forms.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "archive/fieldcodec.h"

#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>

#include <exception>

StudentSheetDialog::StudentSheetDialog(const AppContext &context, QWidget *parent, const QString &objectName,
                                       const Texts &texts)
    : QDialog(parent), m_context(context), m_report(StudentSheet::create(this)), m_texts(texts)
{
    setObjectName(objectName);
    Forms::setupDialog(this, texts.caption, QSize(364, 287), QSize(), QColor(0x42, 0x7A, 0xA8), Qt::white);
    Forms::applyDataFormats(); // FormCreate

    auto *box = new ShapeRect(QStringLiteral("shpSfondo"), QRect(18, 18, 326, 215), this);
    box->setFill(Qt::white);
    box->setBorder(QColor(0xCD, 0xDF, 0xEE));

    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPixelSize(12);
    m_action = new QPushButton(texts.action, this);
    m_action->setObjectName(QStringLiteral("btnStampa"));
    m_action->setGeometry(200, 243, 145, 28);
    m_action->setFont(verdana);
    m_action->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("btnAnnulla"));
    cancel->setGeometry(18, 243, 145, 28);
    cancel->setFont(verdana);
    connect(m_action, &QPushButton::clicked, this, &StudentSheetDialog::btnStampaClick);
    connect(cancel, &QPushButton::clicked, this, &StudentSheetDialog::btnAnnullaClick);

    m_logo = new PictureBox(QStringLiteral("imgLogo"), QRect(0, 0, 297, 184), this);
    m_logo->hide();
    m_temp = new PictureBox(QStringLiteral("imgTemp"), QRect(0, 0, 297, 184), this);
    m_temp->setImage(StudentSheetArt::fallbackPhoto());
    m_temp->hide();
}

void StudentSheetDialog::addExplanation(const QImage &picture, const QRect &geometry, const QString &name)
{
    auto *box = new PictureBox(name, geometry, this);
    box->setImage(picture);
    box->setStretch(true);
    box->show();
}

void StudentSheetDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        Forms::centre(this, parentWidget());
        FormShow();
    }
}

void StudentSheetDialog::FormShow()
{
    // The photo as the student window shows it now; the stored fallback when
    // there is none to copy.
    QImage photo;
    if (QWidget *owner = parentWidget())
        if (auto *foto = owner->findChild<PictureBox *>(QStringLiteral("imgFoto")))
            photo = foto->image().copy();
    m_logo->setImage(photo.isNull() ? m_temp->image().copy() : photo);
}

void StudentSheetDialog::fillSheet()
{
    m_report->firstPage().setOrientation(ReportPage::Orientation::Portrait);
    m_report->picture(QStringLiteral("imgLogo"))->setPicture(m_logo->image());
    QWidget *owner = parentWidget();
    if (!owner)
        throw ReportError("the sheet has no student window to read");
    for (const QString &name : StudentSheet::fieldNames()) {
        auto *field = owner->findChild<QLineEdit *>(name);
        if (!field)
            throw ReportError("the student window has no field " + name.toStdString());
        m_report->text(name)->setText(FieldCodec::trimControls(field->text()));
    }
    ReportOutput::prepareReport(*m_report, *m_context.platform);
}

void StudentSheetDialog::btnStampaClick()
{
    try {
        fillSheet();
        output();
    } catch (const std::exception &) {
        m_context.platform->warning(this, m_texts.failure);
    }
    accept();
}

void StudentSheetDialog::btnAnnullaClick()
{
    reject();
}

// --- pictures ----------------------------------------------------------------

namespace StudentSheetArt {

namespace {

void drawPrinter(QPainter &p, const QRectF &r)
{
    const QColor body(0x42, 0x7A, 0xA8);
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.5, r.height() * 0.35)); // paper in
    p.setBrush(body);
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), r.height() * 0.4), 4, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.6, r.width() * 0.6, r.height() * 0.4));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (int i = 0; i < 3; ++i) {
        const double y = r.top() + r.height() * (0.72 + 0.08 * i);
        p.drawLine(QPointF(r.left() + r.width() * 0.28, y), QPointF(r.left() + r.width() * 0.72, y));
    }
    p.setBrush(QColor(0x7C, 0xFC, 0x00));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.12, r.top() + r.height() * 0.4), 2.5, 2.5);
}

void drawScreen(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(QColor(0x42, 0x7A, 0xA8));
    const QRectF frame(r.left(), r.top(), r.width(), r.height() * 0.72);
    p.drawRoundedRect(frame, 4, 4);
    p.setBrush(Qt::white);
    const QRectF glass = frame.adjusted(5, 5, -5, -5);
    p.drawRect(glass);
    p.setPen(QPen(QColor(0x41, 0x69, 0xE1), 2));
    p.drawLine(QPointF(glass.left() + 4, glass.top() + 5), QPointF(glass.right() - 4, glass.top() + 5));
    p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(glass.left() + 4, glass.top() + 5 + i * 6), QPointF(glass.right() - 10, glass.top() + 5 + i * 6));
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(QColor(0x42, 0x7A, 0xA8));
    p.drawRect(QRectF(r.center().x() - 5, frame.bottom(), 10, r.height() * 0.16));
    p.drawRoundedRect(QRectF(r.left() + r.width() * 0.2, r.bottom() - r.height() * 0.12, r.width() * 0.6,
                             r.height() * 0.12), 2, 2);
}

void drawNote(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(QColor(0x42, 0x7A, 0xA8));
    p.drawEllipse(r);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(int(r.height() * 0.7));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("i"));
}

} // namespace

QImage explanation(const QSize &size, Icon icon, const QString &heading, const QStringList &paragraphs)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const double iconSize = icon == Icon::Note ? 26 : 46;
    const QRectF iconRect(8, 8, iconSize, iconSize * (icon == Icon::Note ? 1.0 : 0.9));
    switch (icon) {
    case Icon::Printer: drawPrinter(p, iconRect); break;
    case Icon::Screen: drawScreen(p, iconRect); break;
    case Icon::Note: drawNote(p, iconRect); break;
    }

    const double textLeft = iconRect.right() + 10;
    double y = 8;
    if (!heading.isEmpty()) {
        QFont title(QStringLiteral("Verdana"));
        title.setPixelSize(15);
        title.setBold(true);
        p.setFont(title);
        p.setPen(QColor(0x2C, 0x55, 0x78));
        const QRectF headingRect(textLeft, y, size.width() - textLeft - 8, 22);
        p.drawText(headingRect, Qt::AlignLeft | Qt::AlignVCenter, heading);
        y += 26;
        p.setPen(QPen(QColor(0x41, 0x69, 0xE1), 1.5));
        p.drawLine(QPointF(textLeft, y - 3), QPointF(size.width() - 8, y - 3));
        y += 4;
    }
    QFont body(QStringLiteral("Verdana"));
    body.setPixelSize(11);
    p.setFont(body);
    p.setPen(QColor(0x30, 0x30, 0x30));
    for (const QString &paragraph : paragraphs) {
        const QRectF area(textLeft, y, size.width() - textLeft - 8, size.height() - y - 4);
        QRectF used;
        p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, paragraph, &used);
        y = used.bottom() + 8;
    }
    return image;
}

QImage fallbackPhoto()
{
    QImage image(297, 184, QImage::Format_RGB32);
    const QImage silhouette = blankPicture();
    // The silhouette's own background all round, so no seam shows where it ends.
    image.fill(silhouette.isNull() ? QColor(0xF0, 0xF8, 0xFF) : silhouette.pixelColor(0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!silhouette.isNull()) {
        const QSize fit = silhouette.size().scaled(image.size(), Qt::KeepAspectRatio);
        p.drawImage(QRect(QPoint((image.width() - fit.width()) / 2, (image.height() - fit.height()) / 2), fit),
                    silhouette);
    }
    return image;
}

} // namespace StudentSheetArt
