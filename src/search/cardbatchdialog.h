#pragma once

#include "card/cardbatch.h"

#include <QDialog>

class QRadioButton;

// Asks how a list of ID cards is printed: one card a page on the card
// printer, or ten cards to an A4 sheet.
class CardBatchDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CardBatchDialog(int cards, QWidget *parent = nullptr);
    CardBatch::Mode mode() const;

private:
    QRadioButton *m_optTessere = nullptr;
    QRadioButton *m_optFoglio = nullptr;
};
