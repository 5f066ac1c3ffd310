#include "ui/notch/NotchResultCard.h"

#include "core/AppState.h"
#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchStyle.h"
#include "ui/notch/NotchTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace nolvea {

NotchResultCard::NotchResultCard(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_status(NotchStyle::label({}, 14, QFont::DemiBold))
    , m_request(NotchStyle::label({}, 11, QFont::Normal, 0.45)) {
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

void NotchResultCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF badge(0, (height() - 34) / 2.0, 34, 34);
    p.setPen(Qt::NoPen);
    QColor fill = Theme::success();
    fill.setAlphaF(0.18);
    p.setBrush(fill);
    p.drawEllipse(badge);
    // The still image after the flight: the check mark where the plane was.
    p.drawPixmap(badge.center().toPoint() - QPoint(8, 8),
                 Symbols::pixmap(QStringLiteral("checkmark"), 16, Theme::success()));
}

} // namespace nolvea
