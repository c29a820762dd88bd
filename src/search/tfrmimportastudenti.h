#pragma once

#include "studentsearchwindow.h"

class CardBatch;

class QPushButton;

// The search opened by the ID card window (mode "tessera"): a double-click
// puts the chosen student on the card; "Stampa tesserini" prints the card of
// every listed student, with the school part the card window shows.
class TfrmImportaStudenti : public StudentSearchWindow
{
    Q_OBJECT
public:
    explicit TfrmImportaStudenti(const AppContext &context, QWidget *parent = nullptr,
                                 StudentPickTarget *target = nullptr);

public slots:
    void btnStampaTesseriniClick();

protected:
    QString modeWord() const override { return QStringLiteral("tessera"); }

private:
    void printCards();
    // The margins' check before a list of cards is printed: cards partly off
    // the paper print only if the operator says so, cards wholly off never.
    bool cardsReachPaper(const CardBatch &batch);
};
