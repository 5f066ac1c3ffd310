#include "ui/components/LiquidGlass.h"

#include "ui/components/Blur.h"
#include "ui/components/Brand.h"
#include "ui/components/FlatGlass.h"

#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace nolvea {

// The border goes over the content, so it lives in a child kept on top.
class LiquidGlass::Front : public QWidget {
public:
    explicit Front(LiquidGlass* glass)
        : QWidget(glass)
        , m_glass(glass) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_glass->m_byGroup) return;
        QPainter p(this);
        LiquidGlass::paintFront(p, m_glass->m_shape(m_glass->surfaceRect()), m_glass->m_glass,
                                m_glass->isFlat());
    }

private:
    LiquidGlass* m_glass;
};

LiquidGlass::FlatLayers LiquidGlass::flatLayers(const QColor& flatTint) {
    return {Brand::withOpacity(flatTint, 0.9),
            Brand::withOpacity(Qt::white, 0.28),
            Brand::withOpacity(Qt::white, 0.55),
            0.8,
            Brand::withOpacity(Qt::black, 0.12),
            10,
            QPointF(0, 4)};
}

QMargins LiquidGlass::shadowMargins() {
    return QMargins(20, 16, 20, 24);
}

LiquidGlass::LiquidGlass(Glass glass, Shape shape, QColor flatTint, QWidget* parent)
    : QWidget(parent)
    , m_glass(std::move(glass))
    , m_shape(std::move(shape))
    , m_flatTint(std::move(flatTint)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setContentsMargins(shadowMargins());
    m_front = new Front(this);
}

bool LiquidGlass::isFlat() const {
    return FlatGlass::isFlat(this);
}

QRectF LiquidGlass::surfaceRect() const {
    return QRectF(contentsRect());
}

void LiquidGlass::setDrawnByGroup(bool byGroup) {
    if (m_byGroup == byGroup) return;
    m_byGroup = byGroup;
    update();
    m_front->update();
}

QColor LiquidGlass::materialFill(const Glass& glass) {
    // A bright translucent pane with the tint over it.
    const QColor pane = Brand::withOpacity(Qt::white, 0.16);
    if (!glass.tint || glass.tint->alpha() == 0) return pane;
    const QColor t = *glass.tint;
    const double ta = t.alphaF(), pa = pane.alphaF();
    const double a = ta + pa * (1 - ta);
    auto mix = [&](double top, double under) { return (top * ta + under * pa * (1 - ta)) / a; };
    return QColor::fromRgbF(float(mix(t.redF(), 1)), float(mix(t.greenF(), 1)),
                            float(mix(t.blueF(), 1)), float(a));
}

QColor LiquidGlass::materialBorder() {
    return Brand::withOpacity(Qt::white, 0.35);
}

double LiquidGlass::materialBorderWidth() {
    return 1;
}

void LiquidGlass::paintBack(QPainter& p, const QPainterPath& shape, const Glass& glass,
                            const QColor& flatTint, bool flat) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (flat) {
        const FlatLayers l = flatLayers(flatTint);
        // The soft shadow of the whole composite, drawn first.
        const QRectF bounds = shape.boundingRect();
        const double pad = std::ceil(3 * l.shadowBlur);
        QImage shadow(QSizeF(bounds.width() + 2 * pad, bounds.height() + 2 * pad).toSize(),
                      QImage::Format_ARGB32_Premultiplied);
        shadow.fill(Qt::transparent);
        {
            QPainter sp(&shadow);
            sp.setRenderHint(QPainter::Antialiasing);
            sp.translate(pad - bounds.left(), pad - bounds.top());
            sp.fillPath(shape, l.shadow);
        }
        p.drawImage(bounds.topLeft() - QPointF(pad, pad) + l.shadowOffset,
                    blurred(shadow, l.shadowBlur / 2));
        p.fillPath(shape, l.tintFill);
        p.fillPath(shape, l.veil);
    } else {
        p.fillPath(shape, materialFill(glass));
    }
    p.restore();
}

void LiquidGlass::paintFront(QPainter& p, const QPainterPath& shape, const Glass&, bool flat) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (flat) {
        const FlatLayers l = flatLayers(Qt::transparent);
        p.setPen(QPen(l.border, l.borderWidth));
    } else {
        p.setPen(QPen(materialBorder(), materialBorderWidth()));
    }
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.restore();
}

void LiquidGlass::paintEvent(QPaintEvent*) {
    if (m_byGroup) return;
    QPainter p(this);
    paintBack(p, m_shape(surfaceRect()), m_glass, m_flatTint, isFlat());
}

void LiquidGlass::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    m_front->setGeometry(rect());
    m_front->raise();
}

} // namespace nolvea
