#pragma once

#include <QStringView>

#include <string>

// Cell texts as the spreadsheet files' XML carries them.
namespace SheetText {

// UTF-16 to UTF-8 into `out` (cleared first, its storage kept from cell to
// cell). Characters XML cannot carry (controls other than tab and line
// breaks, a lone surrogate, U+FFFE and U+FFFF) would make the file
// unreadable: each becomes a space.
void toUtf8(QStringView text, std::string &out);

} // namespace SheetText
