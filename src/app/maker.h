#pragma once

#include <QString>

// Who makes the program, as the start menu, the about and the credits
// windows name it.
namespace Maker {

inline QString name()
{
    return QStringLiteral("Lumetra Software");
}
// Opened by the web links.
inline QString webSite()
{
    return QStringLiteral("https://www.lumetra.it");
}
// The web address as the links show it.
inline QString webAddress()
{
    return QStringLiteral("www.lumetra.it");
}
inline QString email()
{
    return QStringLiteral("info@lumetra.it");
}

} // namespace Maker
