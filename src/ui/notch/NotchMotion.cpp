#include "ui/notch/NotchMotion.h"

#include "ui/animation/Transitions.h"
#include "ui/components/Theme.h"

#include <algorithm>
#include <cmath>

namespace nolvea {

namespace {
double clamped(double v) {
    return std::clamp(v, 0.0, 1.0);
}
} // namespace

TransitionLook NotchMotion::cardIn(double progress) {
    return Transitions::scaleFade(kCardFrom, {0.5, 0}, progress);
}

TransitionLook NotchMotion::cardOut(double opacity) {
    TransitionLook l;
    l.opacity = clamped(opacity);
    return l;
}

TransitionLook NotchMotion::mark(double shown) {
    TransitionLook l;
    l.opacity = clamped(shown);
    l.scale = 0.5 + 0.5 * shown;
    l.blur = 4 * (1 - clamped(shown));
    return l;
}

TransitionLook NotchMotion::row(double progress) {
    return Transitions::rise(-kRowRise, progress);
}

TransitionLook NotchMotion::plane(double flown) {
    TransitionLook l;
    l.offset = QPointF(26 * flown, -22 * flown);
    l.scale = 1 - 0.6 * flown;
    l.opacity = clamped(1 - flown);
    return l;
}

TransitionLook NotchMotion::check(double flown) {
    TransitionLook l;
    l.scale = 0.2 + 0.8 * flown;
    l.opacity = clamped(flown);
    return l;
}

TransitionLook NotchMotion::sendButton(double progress) {
    // The framework's scale transition starts from a point, not from nothing.
    return Transitions::scaleFade(0.00001, {0.5, 0.5}, progress);
}

double NotchMotion::fieldRoom(bool empty, int keyCapWidth, int sendSide, int gap) {
    const int piece = empty ? keyCapWidth : sendSide;
    return piece > 0 ? piece + gap : 0;
}

TransitionLook NotchMotion::symbolSwap(double progress) {
    return Transitions::blurReplace(progress);
}

TransitionLook NotchMotion::capsule(double progress) {
    return Transitions::blurReplace(progress);
}

SpringSpec NotchMotion::capsuleSpring() {
    return Theme::morph();
}

NotchMotion::EarSwap NotchMotion::rightSwap(NotchEars::Right right) {
    using Right = NotchEars::Right;
    switch (right) {
    case Right::unseen:
    case Right::question:
    case Right::conversation:
        return EarSwap::scaleFade;
    case Right::none:
    case Right::target:
    case Right::tool:
    case Right::thinking:
        break;
    }
    return EarSwap::blurReplace;
}

TransitionLook NotchMotion::earLook(EarSwap swap, double progress) {
    if (swap == EarSwap::scaleFade) return sendButton(progress);
    return Transitions::blurReplace(progress);
}

NotchMotion::SymbolEffect NotchMotion::statusEffect(AppState::Stage stage, bool isSpeaking) {
    if (stage == AppState::Stage::success) return SymbolEffect::bounce;
    // The speaker's waves run while the answer is spoken.
    if (stage == AppState::Stage::answer && isSpeaking) return SymbolEffect::pulse;
    return SymbolEffect::none;
}

NotchMotion::SymbolEffect NotchMotion::rightEffect(NotchEars::Right right) {
    using Right = NotchEars::Right;
    switch (right) {
    case Right::tool:
    case Right::thinking:
    case Right::question:
        return SymbolEffect::pulse;
    case Right::none:
    case Right::target:
    case Right::unseen:
    case Right::conversation:
        break;
    }
    return SymbolEffect::none;
}

double NotchMotion::pulse(double seconds) {
    const double phase = std::fmod(std::max(0.0, seconds), kPulsePeriod) / kPulsePeriod;
    return 0.4 + 0.6 * (0.5 + 0.5 * std::cos(2 * M_PI * phase));
}

void NotchMotion::setTarget(const Target& target, bool animated) {
    const Target previous = m_target;
    m_target = target;
    const QColor color = target.glow.color;
    if (color.alpha() > 0) m_glowColor = QColor(color.red(), color.green(), color.blue());
    if (!animated || !m_placed) {
        m_placed = true;
        m_width.jump(target.size.width());
        m_height.jump(target.size.height());
        m_radius.jump(target.bottomRadius);
        m_glowAlpha.jump(color.alphaF());
        m_glowRadius.jump(target.glow.radius);
        m_markWidth.jump(target.markSize.width());
        m_markHeight.jump(target.markSize.height());
        m_markShown.jump(target.markShown ? 1 : 0);
        return;
    }
    const SpringSpec& morph = Theme::morph();
    m_width.retarget(target.size.width(), morph);
    m_height.retarget(target.size.height(), morph);
    m_radius.retarget(target.bottomRadius, morph);
    m_markWidth.retarget(target.markSize.width(), morph);
    m_markHeight.retarget(target.markSize.height(), morph);
    m_markShown.retarget(target.markShown ? 1 : 0, morph);
    if (target.stage != previous.stage) {
        m_glowAlpha.retarget(color.alphaF(), morph);
        m_glowRadius.retarget(target.glow.radius, morph);
    } else {
        // Within a stage the glow breathes with the microphone, frame by frame.
        m_glowAlpha.jump(color.alphaF());
        m_glowRadius.jump(target.glow.radius);
    }
}

void NotchMotion::replaceCard(bool hadCard, bool hasCard, bool animated) {
    if (!animated) {
        m_card.jump(1);
        m_cardDelay = 0;
        m_leaving.jump(0);
        return;
    }
    if (hadCard) {
        // It leaves from however far it had come in.
        m_leaving.jump(clamped(m_card.value()));
        m_leaving.retarget(0);
    }
    if (hasCard) {
        m_card.jump(0);
        m_card.retarget(1, Theme::morph());
        m_cardDelay = kCardDelay;
    }
}

bool NotchMotion::advance(double seconds) {
    bool moving = false;
    for (SpringValue* s : {&m_width, &m_height, &m_radius, &m_glowAlpha, &m_glowRadius,
                           &m_markWidth, &m_markHeight, &m_markShown})
        moving = s->advance(seconds) || moving;
    double left = seconds;
    if (m_cardDelay > 0) {
        const double waited = std::min(m_cardDelay, left);
        m_cardDelay -= waited;
        left -= waited;
    }
    moving = m_cardDelay > 0 || moving;
    if (m_cardDelay <= 0) moving = m_card.advance(left) || moving;
    return m_leaving.advance(seconds) || moving;
}

void NotchMotion::finish() {
    advance(1e6);
}

NotchMotion::Frame NotchMotion::frame() const {
    Frame f;
    f.size = QSizeF(std::max(0.0, m_width.value()), std::max(0.0, m_height.value()));
    f.bottomRadius = std::max(0.0, m_radius.value());
    QColor glow = m_glowColor;
    glow.setAlphaF(clamped(m_glowAlpha.value()));
    f.glow = {glow, std::max(0.0, m_glowRadius.value())};
    f.markSize = QSizeF(m_markWidth.value(), m_markHeight.value());
    f.mark = mark(m_markShown.value());
    f.card = cardIn(m_card.value());
    if (m_leaving.value() > 0.001) f.leaving = cardOut(m_leaving.value());
    return f;
}

} // namespace nolvea
