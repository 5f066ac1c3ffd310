#include "ui/components/StatusDot.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace nolvea {

// The halo lives beside the dot in the same parent, so it can spill past the dot's 10 × 10.
class StatusDot::HaloLayer : public QWidget {
public:
    HaloLayer(StatusDot* dot, QWidget* parent)
        : QWidget(parent)
        , m_dot(dot) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_dot) return;
        const Halo h = StatusDot::halo(m_dot->pulseTime());
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setOpacity(h.opacity);
        p.setBrush(Brand::withOpacity(m_dot->shownColor(), 0.35));
        const double r = kSide / 2 * h.scale;
        p.drawEllipse(rect().center() + QPointF(0.5, 0.5), r, r);
    }

private:
    QPointer<StatusDot> m_dot;
};

StatusDot::StatusDot(AIConnection connection, QWidget* parent)
    : QWidget(parent)
    , m_connection(connection)
    , m_from(color(connection)) {
    setFixedSize(int(kSide), int(kSide));
    setAttribute(Qt::WA_TranslucentBackground);
    m_driver = new FrameDriver(this, [this](double dt) { return m_blend.advance(dt); });
    m_driver->setContinuous(true);
}

StatusDot::~StatusDot() {
    delete m_halo.data();
}

QColor StatusDot::color(AIConnection c) {
    switch (c) {
    case AIConnection::online:
        return Theme::success();
    case AIConnection::offline:
        return Theme::failure();
    case AIConnection::sleeping:
        return QColor(142, 142, 147); // the standard gray
    case AIConnection::checking:
    case AIConnection::unknown:
        break;
    }
    return QColor(255, 149, 0); // the standard orange
}

StatusDot::Halo StatusDot::halo(double elapsed) {
    if (elapsed < 0) return {1, 1};
    const double x = std::fmod(elapsed, kPulseSeconds) / kPulseSeconds;
    // The ease-out curve of the platform: cubic Bézier (0, 0, 0.58, 1), solved for x.
    double lo = 0, hi = 1, s = x;
    for (int i = 0; i < 30; ++i) {
        s = (lo + hi) / 2;
        const double bx = 3 * (1 - s) * s * s * 0.58 + s * s * s;
        (bx < x ? lo : hi) = s;
    }
    const double y = 3 * (1 - s) * s * s + s * s * s;
    return {1 + (kHaloScale - 1) * y, 1 - y};
}

QColor StatusDot::blend(const QColor& from, const QColor& to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t),
                            float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

void StatusDot::setConnection(AIConnection c) {
    if (c == m_connection) return;
    m_from = shownColor();
    m_connection = c;
    m_blend.jump(0);
    m_driver->animate(m_blend, 1, Theme::snappy());
    update();
    if (m_halo) m_halo->update();
}

QColor StatusDot::shownColor() const {
    return blend(m_from, color(m_connection), m_blend.value());
}

double StatusDot::pulseTime() const {
    return m_pulseStart < 0 ? -1 : m_driver->time() - m_pulseStart;
}

void StatusDot::placeHalo() {
    if (!parentWidget()) return;
    if (!m_halo) m_halo = new HaloLayer(this, parentWidget());
    const int side = int(std::ceil(kSide * kHaloScale)) + 2;
    const QPoint c = geometry().center();
    m_halo->setGeometry(c.x() - side / 2 + 1, c.y() - side / 2 + 1, side, side);
    m_halo->stackUnder(this);
    m_halo->setVisible(isVisible());
}

bool StatusDot::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::Show:
        // The pulse starts the first time the dot is on screen.
        if (m_pulseStart < 0) m_pulseStart = m_driver->time();
        placeHalo();
        break;
    case QEvent::Hide:
        if (m_halo) m_halo->hide();
        break;
    case QEvent::ParentChange:
        delete m_halo.data();
        placeHalo();
        break;
    case QEvent::Move:
        placeHalo();
        break;
    case QEvent::UpdateRequest:
    case QEvent::Paint:
        if (m_halo) m_halo->update();
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void StatusDot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(shownColor());
    p.drawEllipse(QRectF(0, 0, kSide, kSide));
}

} // namespace nolvea
