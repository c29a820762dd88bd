#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// The padlock picture at the top of the login and change windows: a padlock
// on the left, a heading and the given lines on the right.
QImage drawPadlockPicture(const QSize &size, const QString &heading, const QStringList &lines);
