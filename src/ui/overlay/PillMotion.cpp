#include "ui/overlay/PillMotion.h"

#include "ui/animation/Transitions.h"
#include "ui/components/Theme.h"

#include <algorithm>

namespace nolvea {

namespace {
constexpr double kBubbleFrom = 0.8;
constexpr double kDropFrom = 0.3;
} // namespace

void PillMotion::Box::jump(const QRectF& r) {
    x.jump(r.x());
    y.jump(r.y());
    w.jump(r.width());
    h.jump(r.height());
}

void PillMotion::Box::aim(const QRectF& r, const SpringSpec& spec) {
    x.retarget(r.x(), spec);
    y.retarget(r.y(), spec);
    w.retarget(r.width(), spec);
    h.retarget(r.height(), spec);
}

bool PillMotion::Box::advance(double seconds) {
    bool moving = x.advance(seconds);
    moving = y.advance(seconds) || moving;
    moving = w.advance(seconds) || moving;
    return h.advance(seconds) || moving;
}

QRectF PillMotion::Box::value() const {
    return QRectF(x.value(), y.value(), w.value(), h.value());
}

void PillMotion::aimPart(Part& part, const std::optional<QRect>& target, const SpringSpec& appear,
                         const SpringSpec& move) {
    if (!target) {
        // It melts away where it is.
        if (part.shown.isAppearing()) part.shown.disappear(appear);
        return;
    }
    if (!part.shown.isPresent()) {
        // It grows in place, out of the glass beside it.
        part.box.jump(*target);
        part.shown.appear(appear);
        return;
    }
    part.box.aim(*target, move);
    if (!part.shown.isAppearing()) part.shown.appear(appear);
}

void PillMotion::setLayout(const Layout& layout, bool animated, const SpringSpec& resize) {
    const Layout previous = m_layout;
    m_layout = layout;
    if (!animated) {
        // Nothing moves: what is gone is gone at once.
        m_group.jump(layout.group);
        if (layout.group) {
            m_pill.jump(layout.pill);
            m_radius.jump(layout.radius);
            m_shadow.jump(layout.shadow);
            for (auto [part, target] :
                 {std::pair{&m_bubble, layout.bubble}, std::pair{&m_agentDrop, layout.agentDrop},
                  std::pair{&m_lockDrop, layout.lockDrop}}) {
                part->shown.jump(target.has_value());
                if (target) part->box.jump(*target);
            }
        }
        m_content.jump(true);
        m_leaving.jump(false);
        return;
    }
    const SpringSpec& morph = Theme::morph();
    if (!layout.group) {
        // The group sinks away as it last was.
        if (m_group.isAppearing()) m_group.disappear(morph);
        return;
    }
    if (!m_group.isPresent() || !previous.group) {
        // The group rises in already in its shape; only the group as a whole moves.
        const bool fresh = !m_group.isPresent();
        m_group.appear(morph);
        if (fresh) {
            m_pill.jump(layout.pill);
            m_radius.jump(layout.radius);
            m_shadow.jump(layout.shadow);
            for (auto [part, target] :
                 {std::pair{&m_bubble, layout.bubble}, std::pair{&m_agentDrop, layout.agentDrop},
                  std::pair{&m_lockDrop, layout.lockDrop}}) {
                part->shown.jump(target.has_value());
                if (target) part->box.jump(*target);
            }
            return;
        }
    }
    m_pill.aim(layout.pill, resize);
    m_radius.retarget(layout.radius, morph);
    m_shadow.retarget(layout.shadow, morph);
    aimPart(m_bubble, layout.bubble, Theme::gentle(), Theme::snappy());
    aimPart(m_agentDrop, layout.agentDrop, morph, morph);
    aimPart(m_lockDrop, layout.lockDrop, morph, morph);
}

void PillMotion::riseIn() {
    if (!m_group.isAppearing()) return;
    m_group.jump(false);
    m_group.appear(Theme::morph());
}

void PillMotion::replaceContent(bool animated) {
    if (!animated || !m_group.isPresent()) {
        m_content.jump(true);
        m_leaving.jump(false);
        return;
    }
    // The old content leaves from wherever it had got to; one leaving at a time is enough.
    m_leaving.jump(true);
    m_leaving.disappear(Theme::morph());
    m_content.jump(false);
    m_content.appear(Theme::morph());
}

bool PillMotion::advance(double seconds) {
    bool moving = m_group.advance(seconds);
    moving = m_pill.advance(seconds) || moving;
    moving = m_radius.advance(seconds) || moving;
    moving = m_shadow.advance(seconds) || moving;
    for (Part* part : {&m_bubble, &m_agentDrop, &m_lockDrop}) {
        moving = part->shown.advance(seconds) || moving;
        moving = part->box.advance(seconds) || moving;
    }
    moving = m_content.advance(seconds) || moving;
    return m_leaving.advance(seconds) || moving;
}

void PillMotion::finish() {
    advance(1e6);
}

PillMotion::Frame PillMotion::frame() const {
    Frame f;
    f.group = m_group.isPresent();
    if (!f.group) return f;
    f.groupLook = Transitions::liquidAppear(m_group.progress());
    f.pill = m_pill.value();
    f.radius = m_radius.value();
    f.shadow = std::clamp(m_shadow.value(), 0.0, 1.0);
    auto shape = [](const Part& part, auto look) -> std::optional<Shape> {
        if (!part.shown.isPresent()) return std::nullopt;
        return Shape{part.box.value(), look(part.shown.progress())};
    };
    f.bubble = shape(m_bubble, [](double p) {
        // Blurred in, and grown from a little smaller about its bottom edge.
        TransitionLook grow;
        grow.scale = kBubbleFrom + (1 - kBubbleFrom) * p;
        grow.anchor = QPointF(0.5, 1);
        return grow.then(Transitions::blurReplace(p));
    });
    f.agentDrop = shape(m_agentDrop, [](double p) {
        return Transitions::scaleFade(kDropFrom, {0.5, 0.5}, p);
    });
    f.lockDrop = shape(m_lockDrop, [](double p) {
        return Transitions::scaleFade(kDropFrom, {0.5, 0.5}, p);
    });
    f.content = Transitions::blurReplace(m_content.progress());
    if (m_leaving.isPresent()) f.leaving = Transitions::blurReplace(m_leaving.progress());
    return f;
}

} // namespace nolvea
