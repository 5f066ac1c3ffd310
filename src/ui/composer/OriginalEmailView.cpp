#include "ui/composer/OriginalEmailView.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Symbols.h"
#include "ui/composer/ComposerMotion.h"
#include "ui/composer/ComposerStyle.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace nolvea {

OriginalEmailView::OriginalEmailView(const EmailSummary& email, QWidget* parent)
    : QWidget(parent) {
    setAccessibleName(QStringLiteral("E-mail original"));
    setAccessibleDescription(QStringLiteral("Clique para ver mais do texto"));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(4);

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    auto* arrow = new QLabel;
    arrow->setPixmap(Symbols::pixmap(QStringLiteral("arrowshape.turn.up.left.fill"), 9,
                                     ComposerStyle::ink(0.6), devicePixelRatioF()));
    header->addWidget(arrow);
    auto* sender = ComposerStyle::label(QStringLiteral("Em resposta a ") + email.sender, 11,
                                        QFont::Medium, ComposerStyle::ink(0.6));
    sender->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    header->addWidget(sender, 1);
    header->addWidget(ComposerStyle::label(email.date, 10, QFont::Normal, ComposerStyle::ink(0.4)));
    column->addLayout(header);

    auto* subject = ComposerStyle::label(email.subject, 12, QFont::DemiBold, ComposerStyle::ink());
    subject->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    column->addWidget(subject);
    m_snippet = ComposerStyle::label(email.snippet, 11, QFont::Normal, ComposerStyle::ink(0.6));
    m_snippet->setWordWrap(true);
    m_snippet->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_snippet->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(m_snippet);
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_lines.advance(dt);
        cut();
        return moving;
    });
    cut();
}

void OriginalEmailView::setExpanded(bool expanded) {
    if (expanded == m_expanded) return;
    m_expanded = expanded;
    m_driver->animate(m_lines, snippetLines(),
                      ComposerMotion::spring(ComposerMotion::Change::unfold));
    cut();
}

void OriginalEmailView::cut() {
    // The snippet ends at the last line shown; on the way the cut slides between lines.
    const int h = int(std::lround(m_lines.value() * m_snippet->fontMetrics().lineSpacing()));
    if (h == m_snippet->maximumHeight()) return;
    m_snippet->setMaximumHeight(h);
    updateGeometry();
}

void OriginalEmailView::mouseReleaseEvent(QMouseEvent*) {
    setExpanded(!m_expanded);
}

void OriginalEmailView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space) {
        setExpanded(!m_expanded);
        return;
    }
    QWidget::keyPressEvent(e);
}

void OriginalEmailView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()), 12, 12);
    p.fillPath(card, ComposerStyle::ink(0.04));
    QPainterPath bar;
    bar.addRoundedRect(QRectF(0, 8, 3, height() - 16), 1.5, 1.5);
    p.fillPath(bar, ComposerStyle::ink(0.35));
}

} // namespace nolvea
