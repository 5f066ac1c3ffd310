#include "ui/overlay/PillResultContent.h"

#include "core/AppState.h"
#include "ui/animation/Bounce.h"
#include "ui/components/BrandFont.h"
#include "ui/components/ShakeEffect.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace nolvea {

PillResultContent::PillResultContent(AppState& state, bool failed, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_failed(failed) {
    // The shake moves an inner row, so the pill can move the content itself meanwhile.
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* inner = new QWidget;
    outer->addWidget(inner);
    auto* row = new QHBoxLayout(inner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_mark = new QLabel;
    m_mark->setFixedSize(30, 30);
    m_mark->setAlignment(Qt::AlignCenter);
    m_mark->setAccessibleName(failed ? QStringLiteral("Erro") : QStringLiteral("Concluído"));
    row->addWidget(m_mark);
    m_bounce = new Bounce(m_mark);
    m_text = new QLabel;
    // Result lines come from tools and the model: plain text, one line.
    m_text->setTextFormat(Qt::PlainText);
    m_text->setFont(BrandFont::font(BrandFont::Face::semiBold, 13.5, QFont::DemiBold));
    QPalette pal = m_text->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    m_text->setPalette(pal);
    row->addWidget(m_text);
    if (failed) {
        m_shake = new ShakeEffect(inner, state.errorCount());
        connect(&state, &AppState::errorCountChanged, this,
                [this] { m_shake->setTrigger(m_state.errorCount()); });
    }
}

void PillResultContent::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // The mark bounces as the outcome arrives.
    if (!m_bounced) m_bounce->play();
    m_bounced = true;
}

void PillResultContent::setResult(const QString& symbol, const QString& text) {
    // White mark in a filled circle of the outcome's colour.
    const QColor color = m_failed ? Theme::failure() : Theme::success();
    const int side = 24;
    const qreal dpr = devicePixelRatioF();
    QPixmap pm(QSize(side, side) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(side * 0.2, side * 0.2, side * 0.6, side * 0.6));
        p.drawPixmap(0, 0, Symbols::pixmap(symbol, side, color, dpr));
    }
    m_mark->setPixmap(pm);
    m_text->setText(text);
    m_text->setAccessibleName(text);
    updateGeometry();
}

} // namespace nolvea
