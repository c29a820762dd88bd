#include "help/helptexts.h"

namespace HelpTexts {

HelpText text(Topic topic)
{
    switch (topic) {
    case Topic::General:
        return {QStringLiteral("Uno sguardo a Lumetra"), QString()};
    case Topic::Students:
        return {QStringLiteral("App Archivio Studenti"), QString()};
    case Topic::Card:
        return {QStringLiteral("App Stampa Tesserini"), QString()};
    case Topic::Export:
        return {QStringLiteral("Esportazione archivio studenti in Microsoft Excel."), QString()};
    }
    return {};
}

} // namespace HelpTexts
