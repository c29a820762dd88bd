#include "tfrmtrovastudenti.h"

#include "base/forms.h"
#include "base/widgets.h"
#include "archive/studentfiles.h"

#include <QLabel>
#include <QLineEdit>

TfrmTrovaStudenti::TfrmTrovaStudenti(const AppContext &context, QWidget *parent)
    : StudentSearchWindow(context, QStringLiteral(" Trova schede studenti in archivio"), parent)
{
    setObjectName(QStringLiteral("frmTrovaStudenti"));
}

void TfrmTrovaStudenti::writeChosen(const StudentRecord &record, qint64 number)
{
    QWidget *owner = parentWidget();
    if (!owner)
        return;
    for (int f = 0; f < StudentRecord::FieldCount; ++f) {
        const auto field = StudentRecord::Field(f);
        const QString name = StudentRecord::controlName(field);
        if (field < StudentRecord::File01)
            Forms::child<QLineEdit>(owner, name)->setText(record[field]);
        else
            Forms::child<QLabel>(owner, name)->setText(record[field]);
    }
    const QString position = QString::number(number);
    Forms::child<QLabel>(owner, QStringLiteral("lblPosizione"))->setText(position);
    const QImage photo = StudentFiles::loadStudentPhoto(context().folder, position);
    Forms::child<PictureBox>(owner, QStringLiteral("imgFoto"))->setImage(photo.isNull() ? blankPicture() : photo);
}
