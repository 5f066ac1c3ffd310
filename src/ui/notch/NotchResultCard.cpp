#include "ui/notch/NotchResultCard.h"

#include "core/AppState.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchMotion.h"
#include "ui/notch/NotchStyle.h"
#include "ui/notch/NotchTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace nolvea {

NotchResultCard::NotchResultCard(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_status(NotchStyle::label({}, 14, QFont::DemiBold))
    , m_request(NotchStyle::label({}, 11, QFont::Normal, 0.45))
    , m_driver(new FrameDriver(this, [this](double dt) { return step(dt); })) {
    setAccessibleName(QStringLiteral("Resultado"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(34 + 12, 0, 0, 0); // the badge is painted in the margin
    row->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_status->setWordWrap(true);
    m_status->setMaximumHeight(m_status->fontMetrics().lineSpacing() * 2 + 2);
    m_status->setAccessibleName(QStringLiteral("Situação"));
    texts->addWidget(m_status);
    m_request->setAccessibleName(QStringLiteral("Pedido"));
    texts->addWidget(m_request);
    row->addLayout(texts, 1);
    setMinimumHeight(34);
    connect(&state, &AppState::statusTextChanged, this, &NotchResultCard::refresh);
    connect(&state, &AppState::lastRequestChanged, this, &NotchResultCard::refresh);
    refresh();
}

bool NotchResultCard::showsPlane() const {
    return NotchTexts::resultIsEmail(m_state.statusText());
}

void NotchResultCard::refresh() {
    m_status->setText(m_state.statusText());
    const QString request = m_state.lastRequest();
    m_request->setVisible(!request.isEmpty());
    m_request->setText(m_request->fontMetrics().elidedText(request.simplified(), Qt::ElideRight,
                                                           std::max(100, width() - 46)));
    update();
}

void NotchResultCard::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Once per card, when it first comes on screen.
    if (m_started) return;
    m_started = true;
    if (FrameClock::shared().reduceMotion()) {
        m_flown.jump(1);
        return;
    }
    m_wait = NotchMotion::kFlightDelay;
    m_bounce = 0;
    m_driver->kick();
}

bool NotchResultCard::step(double dt) {
    bool moving = false;
    if (m_bounce >= 0) {
        m_bounce += dt;
        if (m_bounce >= Transitions::bounce().duration()) m_bounce = -1;
        moving = m_bounce >= 0;
    }
    if (m_wait >= 0) {
        m_wait -= dt;
        if (m_wait < 0) {
            m_flown.retarget(1, NotchMotion::flight());
            m_flown.advance(-m_wait);
        }
        return true;
    }
    return m_flown.advance(dt) || moving;
}

void NotchResultCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF badge(0, (height() - 34) / 2.0, 34, 34);
    p.setPen(Qt::NoPen);
    QColor fill = Theme::success();
    fill.setAlphaF(0.18);
    p.setBrush(fill);
    p.drawEllipse(badge);
    auto draw = [&](const QString& name, const TransitionLook& look) {
        if (look.opacity <= 0.001) return;
        p.save();
        p.translate(badge.center() + look.offset);
        p.scale(look.scale, look.scale);
        p.setOpacity(std::clamp(look.opacity, 0.0, 1.0));
        p.drawPixmap(QRectF(-8, -8, 16, 16), Symbols::pixmap(name, 16, Theme::success()), QRectF());
        p.restore();
    };
    if (showsPlane()) {
        const double flown = m_flown.value();
        draw(QStringLiteral("paperplane.fill"), NotchMotion::plane(flown));
        draw(QStringLiteral("checkmark"), NotchMotion::check(flown));
        return;
    }
    TransitionLook bounce;
    if (m_bounce >= 0) bounce.scale = Transitions::bounce().valueAt(m_bounce);
    draw(QStringLiteral("checkmark"), bounce);
}

} // namespace nolvea
