#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace nolvea {

// The symbol names that the screens and the tools use, drawn as icons of our own (SVG) or,
// for the rest, as icons of the desktop's freedesktop theme. An unknown name draws nothing.
class Symbols {
public:
    // Whether `name` is one of ours or mapped to a theme icon.
    static bool isKnown(const QString& name);
    // Our own SVG for `name`, with the ink left as "currentColor"; empty when not ours.
    static QByteArray svg(const QString& name);
    // The freedesktop theme icon that stands for `name`; empty when none.
    static QString themeName(const QString& name);
    // The symbol in `color` at `side` logical pixels; a null pixmap when unknown or absent.
    static QPixmap pixmap(const QString& name, int side, const QColor& color,
                          qreal devicePixelRatio = 1);
    // The symbol as an icon; a null icon when unknown.
    static QIcon icon(const QString& name, const QColor& color = Qt::black);

    Symbols() = delete;
};

} // namespace nolvea
