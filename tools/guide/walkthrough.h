#pragma once

#include <QList>
#include <QString>

// What the user guide says besides the program's help texts: the tasks of a
// school office step by step, from the first start to a printed class of
// cards, each window pictured, and what to do when something goes wrong.
//
// Every text the guide quotes from the program (captions, buttons, messages,
// questions) stands between « and », exactly as the program writes it.
namespace Walkthrough {

struct Block
{
    enum Kind {
        Text,  // a paragraph
        Step,  // a numbered step; consecutive steps count 1, 2, 3...
        Item,  // an item of a list
        Figure // a picture of a whole window
    };
    Kind kind;
    QString text;    // Figure: what the picture shows, after the window's title
    QString picture; // Figure: file name in the pictures folder
    QString window;  // Figure: the window's title, as its title bar shows it
};

struct Section
{
    QString heading;
    QList<Block> blocks;
};

struct Chapter
{
    QString title;
    QList<Block> introduction;
    QList<Section> sections;
};

// The chapters between the program's overview and its help texts.
QList<Chapter> chapters();

// The last chapter, which holds the help texts of the three work areas.
QString helpTextsTitle();
QList<Block> helpTextsIntroduction();

} // namespace Walkthrough
