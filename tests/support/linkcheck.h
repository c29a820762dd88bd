#pragma once

#include <QLabel>
#include <QTest>

// What the operator sees of a link: the colour of its text.
inline QColor linkColour(const QLabel *link)
{
    return link->palette().color(QPalette::WindowText);
}

inline QColor darkBlue()
{
    return QColor(0x00, 0x00, 0x8B);
}

inline QColor orange()
{
    return QColor(0xFF, 0xA5, 0x00);
}

// Presses and releases the left button over `control`, checking the link's
// colour while it is held and after; `opened` records the shell opens.
#define CHECK_LINK_PRESS(control, link)                                                            \
    do {                                                                                           \
        QCOMPARE(linkColour(link), darkBlue());                                                    \
        QTest::mousePress(control, Qt::LeftButton);                                                \
        QCOMPARE(linkColour(link), orange());                                                      \
        QTest::mouseRelease(control, Qt::LeftButton);                                              \
        QCOMPARE(linkColour(link), darkBlue());                                                    \
    } while (false)
