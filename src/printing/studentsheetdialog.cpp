#include "studentsheetdialog.h"

#include "reportoutput.h"
#include "report/studentsheet.h"

#include "base/forms.h"
#include "base/platform.h"
#include "base/widgets.h"
#include "base/windowinterfaces.h"
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
    // The photo as the student window shows it now (at its own size where the
    // window shows a copy decoded for its frame, so that the sheet prints
    // sharp); the stored fallback when there is none to copy.
    QImage photo;
    if (QWidget *owner = parentWidget()) {
        if (const auto *source = dynamic_cast<const PhotoSource *>(owner))
            photo = source->photoAtOwnSize().copy();
        else if (auto *foto = owner->findChild<PictureBox *>(QStringLiteral("imgFoto")))
            photo = foto->image().copy();
    }
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
