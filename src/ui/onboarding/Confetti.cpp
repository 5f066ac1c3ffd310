#include "ui/onboarding/Confetti.h"

#include "support/Clock.h"
#include "ui/components/Brand.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace nolvea {

namespace {

double fract(double v) {
    return v - std::trunc(v);
}

double seconds() {
    return std::chrono::duration<double>(Clock::shared().uptime()).count();
}

} // namespace

Confetti::Piece Confetti::piece(int i, double t, QSizeF canvas) {
    const double s = i * 78.233;
    const double r1 = std::abs(fract(std::sin(s) * 43758.5453));
    const double r2 = std::abs(fract(std::sin(s * 2.3) * 12345.678));
    const double theta = -std::numbers::pi / 2 + (r1 - 0.5) * 2.6;
    const double v = 260 + 380 * r2;
    const double x0 = 0.5 * canvas.width(), y0 = 0.2 * canvas.height();
    const double g = 260 * t * t;
    return {QPointF(x0 + t * v * std::cos(theta), y0 + t * v * std::sin(theta) + g),
            s + t * (4 + 8 * r1), QSizeF(5 + 5 * r2, 3 + 3 * r1), i % 4};
}

double Confetti::opacity(double t) {
    return std::max(0.0, 1 - t / 3.6);
}

const std::array<QColor, 4>& Confetti::palette() {
    static const std::array<QColor, 4> colors{Brand::brasa(), Brand::orquidea(), Brand::ceu(),
                                              Brand::tinta()};
    return colors;
}

Confetti::Confetti(int count, QWidget* parent)
    : QWidget(parent)
    , m_count(count) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
}

Confetti::~Confetti() = default;

void Confetti::start() {
    m_startUptime = seconds();
    m_timer = Clock::shared().schedule(std::chrono::milliseconds(16), true, [this] {
        if (seconds() - m_startUptime >= kDuration) m_timer.reset();
        update();
    });
}

void Confetti::paintEvent(QPaintEvent*) {
    if (!m_timer) return;
    const double t = seconds() - m_startUptime;
    if (t >= kDuration) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setOpacity(opacity(t));
    for (int i = 0; i < m_count; ++i) {
        const Piece piece = Confetti::piece(i, t, size());
        p.save();
        p.translate(piece.center);
        p.rotate(piece.rotation * 180 / std::numbers::pi);
        QPainterPath shape;
        const QSizeF sz = piece.size;
        shape.addRoundedRect(QRectF(-sz.width() / 2, -sz.height() / 2, sz.width(), sz.height()),
                             1.2, 1.2);
        p.fillPath(shape, palette()[std::size_t(piece.color)]);
        p.restore();
    }
}

} // namespace nolvea
