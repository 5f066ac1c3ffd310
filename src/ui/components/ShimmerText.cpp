#include "ui/components/ShimmerText.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/EffectsModel.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace nolvea {

ShimmerText::ShimmerText(QString text, QFont font, QColor tint, QWidget* parent)
    : QWidget(parent)
    , m_text(std::move(text))
    , m_font(std::move(font))
    , m_tint(std::move(tint)) {
    setAttribute(Qt::WA_TranslucentBackground);
    m_driver = new FrameDriver(this);
    m_driver->setMinimumInterval(1.0 / 30);
    m_driver->setContinuous(true);
}

void ShimmerText::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    updateGeometry();
    update();
}

QSize ShimmerText::sizeHint() const {
    const QFontMetricsF fm(m_font);
    return QSizeF(std::ceil(fm.horizontalAdvance(m_text)), std::ceil(fm.height())).toSize();
}

void ShimmerText::paint(QPainter& p, const QRectF& rect, const QString& text, const QFont& font,
                        const QColor& base, const QColor& tint, double t) {
    if (text.isEmpty()) return;
    const QFontMetricsF fm(font);
    QPainterPath letters;
    letters.addText(
        QPointF(rect.left(), rect.top() + (rect.height() - fm.height()) / 2 + fm.ascent()), font,
        text);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(letters, base);
    const auto band = EffectsModel::shimmerBand(t, rect.width());
    const double x = rect.left() + band.x;
    QLinearGradient g(x, 0, x + band.width, 0);
    g.setColorAt(0, Qt::transparent);
    g.setColorAt(0.5, Brand::withOpacity(tint, 0.95));
    g.setColorAt(1, Qt::transparent);
    p.setClipPath(letters);
    p.fillRect(QRectF(x, rect.top(), band.width, rect.height()), g);
    p.restore();
}

void ShimmerText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The secondary style: the text colour at half strength.
    const QColor base = Brand::withOpacity(palette().color(QPalette::WindowText), 0.5);
    paint(p, rect(), m_text, m_font, base, m_tint, m_driver->time());
}

} // namespace nolvea
