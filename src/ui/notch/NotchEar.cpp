#include "ui/notch/NotchEar.h"

#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchStyle.h"

#include <QPainter>

namespace nolvea {

using Effect = NotchMotion::SymbolEffect;

NotchEar::NotchEar(Side side, QWidget* parent)
    : QWidget(parent)
    , m_side(side) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Its pictures, and the blur of them, keep clear around the symbol.
    setAttribute(Qt::WA_TranslucentBackground);
    // The status symbols follow the stage with the morph, the indicator the quicker spring.
    m_replace = new ReplaceTransition(
        this, side == Side::left ? Theme::morph() : Theme::snappy(),
        [this](double progress) { return NotchMotion::earLook(m_swap, progress); });
    m_driver = new FrameDriver(this, [this](double dt) { return step(dt); });
}

bool NotchEar::isReplacing() const {
    return m_replace->isRunning();
}

void NotchEar::setContent(const Content& content) {
    if (content == m_content) return;
    const bool symbolChanged = content.status != m_content.status ||
                               content.right != m_content.right ||
                               content.symbols != m_content.symbols;
    if (symbolChanged) {
        // The incoming indicator's transition; when nothing comes, the leaving one's.
        const NotchEars::Right swapFor =
            content.right != NotchEars::Right::none ? content.right : m_content.right;
        m_swap = m_side == Side::left ? NotchMotion::EarSwap::blurReplace
                                      : NotchMotion::rightSwap(swapFor);
        m_replace->aboutToChange();
    }
    const bool bounces = content.effect == Effect::bounce &&
                         (m_content.effect != Effect::bounce || content.status != m_content.status);
    m_content = content;
    if (bounces && !FrameClock::shared().reduceMotion()) {
        m_bounce = 0;
        m_driver->kick();
    }
    m_driver->setContinuous(m_content.effect == Effect::pulse);
    update();
}

bool NotchEar::step(double dt) {
    if (m_bounce < 0) return false;
    m_bounce += dt;
    if (m_bounce >= Transitions::bounce().duration()) m_bounce = -1;
    return m_bounce >= 0;
}

void NotchEar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect ear = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const double opacity = m_content.effect == Effect::pulse && !FrameClock::shared().reduceMotion()
                               ? NotchMotion::pulse(m_driver->time())
                               : 1.0;
    const double scale = m_bounce < 0 ? 1.0 : Transitions::bounce().valueAt(m_bounce);
    auto drawSymbol = [&](const NotchEars::Symbol& s, QPointF centre) {
        const int side = s.size + 4;
        p.save();
        p.translate(centre);
        p.scale(scale, scale);
        p.setOpacity(opacity);
        p.drawPixmap(QRectF(-side / 2.0, -side / 2.0, side, side),
                     NotchStyle::symbol(s.name, side, s.color), QRectF());
        p.restore();
    };

    const double cy = ear.center().y() + 0.5;
    if (m_side == Side::left) {
        if (m_content.status) {
            const int side = m_content.status->size + 4;
            drawSymbol(*m_content.status, QPointF(ear.left() + side / 2.0, cy));
        }
        return;
    }

    double x = ear.right() + 1;
    if (m_content.right == NotchEars::Right::unseen) {
        const QColor dot = Theme::dictation().accent;
        QColor halo = dot;
        halo.setAlphaF(0.35);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QPointF(x - 4.5, cy), 7.5, 7.5);
        p.setBrush(dot);
        p.drawEllipse(QPointF(x - 4.5, cy), 3.5, 3.5);
        return;
    }
    if (!m_content.icon.isNull() && m_content.right == NotchEars::Right::target) {
        x -= 18;
        p.drawImage(QRectF(x, cy - 9, 18, 18), m_content.icon);
        x -= 6;
    }
    for (auto it = m_content.symbols.rbegin(); it != m_content.symbols.rend(); ++it) {
        const int side = it->size + 4;
        x -= side;
        drawSymbol(*it, QPointF(x + side / 2.0, cy));
        x -= 6;
    }
}

} // namespace nolvea
