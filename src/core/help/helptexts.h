#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The program's four help texts, each a title and a body whose paragraphs
// are joined by a blank line (CR LF CR LF). The guide window shows them, and
// the user guide is generated from them.
namespace HelpTexts {

enum class Topic { General, Students, Card, Export };

struct HelpText
{
    QString title;
    QString body;
};

// What separates two paragraphs of a body; no line break starts or ends one.
inline QString paragraphSeparator()
{
    return QStringLiteral("\r\n\r\n");
}

HelpText text(Topic topic);

// The paragraphs of topic's body, in order, each a single line.
QStringList paragraphs(Topic topic);

// The four topics in the order the user guide presents them.
QList<Topic> topics();

} // namespace HelpTexts
