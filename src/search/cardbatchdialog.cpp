#include "cardbatchdialog.h"

#include "base/forms.h"
#include "base/kit.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

CardBatchDialog::CardBatchDialog(int cards, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStampaTesserini"));
    Forms::setupDialog(this, QStringLiteral(" Stampa tesserini"), QSize(340, 170));
    const QString count = cards == 1 ? QStringLiteral("1 tesserino da stampare.")
                                     : QStringLiteral("%1 tesserini da stampare.").arg(cards);
    Kit::label(QStringLiteral("lblTesserini"), count, QPoint(16, 14), this, Forms::verdana(10, true), Qt::black);
    m_optTessere = new QRadioButton(QStringLiteral("Stampante per tessere"), this);
    m_optTessere->setObjectName(QStringLiteral("optStampanteTessere"));
    m_optTessere->setGeometry(24, 46, 300, 24);
    m_optTessere->setChecked(true);
    m_optFoglio = new QRadioButton(QStringLiteral("Foglio A4"), this);
    m_optFoglio->setObjectName(QStringLiteral("optFoglioA4"));
    m_optFoglio->setGeometry(24, 76, 300, 24);
    // Only the button and its text answer a click.
    m_optTessere->resize(m_optTessere->sizeHint().width(), 24);
    m_optFoglio->resize(m_optFoglio->sizeHint().width(), 24);
    auto *annulla = Kit::button(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(16, 124, 140, 30), this);
    auto *stampa = Kit::button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"), QRect(184, 124, 140, 30), this);
    // A way is always chosen (the card printer to begin with), so Enter prints.
    stampa->setDefault(true);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(stampa, &QPushButton::clicked, this, &QDialog::accept);
}

CardBatch::Mode CardBatchDialog::mode() const
{
    return m_optFoglio->isChecked() ? CardBatch::Mode::A4Sheet : CardBatch::Mode::CardPrinter;
}
