#pragma once

#include <QString>

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

HelpText text(Topic topic);

} // namespace HelpTexts
