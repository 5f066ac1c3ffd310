#pragma once

#include <QColor>
#include <QPainterPath>
#include <QWidget>

#include <functional>
#include <optional>

namespace nolvea {

// A glass surface: the material of the overlays, or, under the flat-glass flag, a flat tinted
// sheet with a white veil, a thin white border and a soft shadow.
class LiquidGlass : public QWidget {
    Q_OBJECT

public:
    // The material: regular glass, optionally tinted.
    struct Glass {
        std::optional<QColor> tint;
    };
    // The outline of the surface for the widget's surface rectangle.
    using Shape = std::function<QPainterPath(const QRectF&)>;

    struct FlatLayers {
        QColor tintFill; // the flat tint at 90 % of its own opacity
        QColor veil;     // white at 28 %
        QColor border;   // white at 55 %
        double borderWidth;
        QColor shadow; // black at 12 %
        double shadowBlur;
        QPointF shadowOffset;
    };
    static FlatLayers flatLayers(const QColor& flatTint);
    // How far the shadow reaches beyond the surface: the margin a surface keeps around itself.
    static QMargins shadowMargins();

    LiquidGlass(Glass glass, Shape shape, QColor flatTint, QWidget* parent = nullptr);

    bool isFlat() const;
    QRectF surfaceRect() const;
    // The group this surface belongs to draws it, melted with its neighbours; the widget
    // then carries only its content.
    void setDrawnByGroup(bool byGroup);
    bool isDrawnByGroup() const { return m_byGroup; }

    // The material's fill and border when not flat.
    static QColor materialFill(const Glass& glass);
    static QColor materialBorder();
    static double materialBorderWidth();

    // The surface's back layers (fills, shadow) and front layer (border) into `rect`.
    static void paintBack(QPainter& p, const QPainterPath& shape, const Glass& glass,
                          const QColor& flatTint, bool flat);
    static void paintFront(QPainter& p, const QPainterPath& shape, const Glass& glass, bool flat);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    class Front;
    Glass m_glass;
    Shape m_shape;
    QColor m_flatTint;
    Front* m_front;
    bool m_byGroup = false;
};

} // namespace nolvea
