#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <vector>

namespace nolvea {

// The symbol names that the screens and the tools use, each drawn as an icon of our own (SVG
// on a 24 × 24 grid, in one ink), so no screen depends on the desktop's icon theme. An unknown
// name draws nothing.
class Symbols {
public:
    // Whether `name` has a drawing.
    static bool isKnown(const QString& name);
    // Every name that has a drawing, sorted.
    static QStringList names();
    // The SVG for `name`, with the ink left as "currentColor"; empty when unknown.
    static QByteArray svg(const QString& name);
    // The symbol in `color` at `side` logical pixels; a null pixmap when unknown.
    static QPixmap pixmap(const QString& name, int side, const QColor& color,
                          qreal devicePixelRatio = 1);
    // The layers of a symbol drawn as one path (each subpath a layer, as the bars of
    // "waveform" or the stars of "sparkles"); 1 for every other symbol.
    static int layerCount(const QString& name);
    // The symbol with each layer at its own opacity (missing entries draw fully), for effects
    // that light a symbol's layers one after another.
    static QPixmap layeredPixmap(const QString& name, int side, const QColor& color,
                                 const std::vector<double>& layerOpacity,
                                 qreal devicePixelRatio = 1);
    // The symbol as an icon; a null icon when unknown.
    static QIcon icon(const QString& name, const QColor& color = Qt::black);

    Symbols() = delete;
};

} // namespace nolvea
