#pragma once

#include <QImage>
#include <QString>

namespace nolvea::DesktopIcon {

// The image of a desktop entry's Icon: a file when it is a path, else the largest one of that
// name in the hicolor theme every application installs into, else in the pixmaps folders.
// Null when none can be read.
QImage load(const QString& icon);

} // namespace nolvea::DesktopIcon
