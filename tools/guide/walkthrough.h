#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The walk through the main tasks that the user guide adds to the program's
// help texts: one step per task, with the picture of the window it shows.
namespace Walkthrough {

struct Step
{
    QString heading;
    QStringList paragraphs;
    QString picture; // file name in the pictures folder; empty: none
    QString caption;
};

QString title();
QString introduction();
QList<Step> steps();

} // namespace Walkthrough
