#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

#include <optional>

class QPainter;
class QLabel;

namespace nolvea {

// The flat printed-page look of the settings, onboarding and integrations screens: numbers and
// colours only; the widgets in SiteButton, Folha and Regua paint what these give.
class SiteKit {
public:
    enum class Kind { primary, secondary, quiet };
    enum class Size { small, regular, large };

    struct ButtonMetrics {
        double fontPixels;
        double minimumHeight;
        double horizontalPadding;
    };
    struct ButtonLook {
        QColor fill;
        QColor ink;
        std::optional<QColor> border; // drawn inside the shape
        double borderWidth;
        double opacity;
    };

    static constexpr double kButtonRadius = 8;
    static constexpr double kPressedScale = 0.97;
    static constexpr double kDisabledOpacity = 0.38;

    static ButtonMetrics metrics(Kind kind, Size size);
    // The hovered colours apply only to an enabled button.
    static ButtonLook look(Kind kind, bool hover, bool enabled);
    static QFont buttonFont(Size size);

    // The card: white sheet with a hairline (or, highlighted, an ink) border inside its edge.
    struct SheetBorder {
        QColor color;
        double width;
    };
    static SheetBorder sheetBorder(bool highlighted);
    static void paintSheet(QPainter& p, const QRectF& rect, double radius, bool highlighted);

    // The horizontal rule.
    static double ruleHeight(bool forte);
    static QColor ruleColor(bool forte);

    // The title style at `pixels`: brand extra bold (or the system heavy face), tightened.
    static QFont titleFont(double pixels);
    static double titleTracking(double pixels) { return -0.02 * pixels; }
    static void applyTitle(QLabel* label, double pixels);

    SiteKit() = delete;
};

} // namespace nolvea
