#pragma once

#include "studentsearchwindow.h"

// The search opened by the ID card window (mode "tessera").
class TfrmImportaStudenti : public StudentSearchWindow
{
    Q_OBJECT
public:
    explicit TfrmImportaStudenti(const AppContext &context, QWidget *parent = nullptr);

protected:
    QString modeWord() const override { return QStringLiteral("tessera"); }
    // The card's fields are not written yet: the pick only closes the window.
    void writeChosen(const StudentRecord &, qint64) override {}
};
