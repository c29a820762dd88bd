#include "tfrmstudenti.h"

#include "base/shortcuts.h"

// Every toolbar action has a key, so the card index works from the keyboard
// alone; the standard sequences are used where the desktop has one.
void TfrmStudenti::bindKeys()
{
    const struct { const char *control; QKeySequence keys; } keys[] = {
        {"cmdNuovo", QKeySequence::New},
        {"cmdDuplica", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {"cmdSalva", QKeySequence::Save},
        {"cmdTrova", QKeySequence::Find},
        {"cmdPrimo", QKeySequence(Qt::ALT | Qt::Key_Home)},
        {"cmdIndietro", QKeySequence(Qt::ALT | Qt::Key_PageUp)},
        {"cmdAvanti", QKeySequence(Qt::ALT | Qt::Key_PageDown)},
        {"cmdUltimo", QKeySequence(Qt::ALT | Qt::Key_End)},
        {"cmdStampa", QKeySequence::Print},
        {"cmdAnteprima", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {"cmdGuida", QKeySequence::HelpContents},
    };
    for (const auto &key : keys)
        Shortcuts::bind(this, QString::fromLatin1(key.control), key.keys);
}
