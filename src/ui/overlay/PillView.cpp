#include "ui/overlay/PillView.h"

#include "core/AppState.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/Blur.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/LiquidGlass.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/overlay/AnswerCard.h"
#include "ui/overlay/ConfirmCard.h"
#include "ui/overlay/PillListeningContent.h"
#include "ui/overlay/PillPlacement.h"
#include "ui/overlay/PillProcessingContent.h"
#include "ui/overlay/PillResultContent.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace nolvea {

namespace {

constexpr int kBubbleWidth = 420;

// The agent drop's sparkle, which pulses while the request is worked on.
class PulsingSymbol : public QWidget {
public:
    PulsingSymbol(const QString& symbol, int side, const QColor& color, QWidget* parent)
        : QWidget(parent)
        , m_pixmap(Symbols::pixmap(symbol, side, color, devicePixelRatioF()))
        , m_side(side)
        , m_driver(new FrameDriver(this)) {}

    void setPulsing(bool pulsing) {
        if (m_pulsing == pulsing) return;
        m_pulsing = pulsing;
        m_driver->setContinuous(pulsing);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (m_pulsing)
            p.setOpacity(0.4 + 0.6 * (0.5 + 0.5 * std::cos(2 * M_PI * m_driver->time())));
        p.drawPixmap(QPointF((width() - m_side) / 2.0, (height() - m_side) / 2.0), m_pixmap);
    }

private:
    QPixmap m_pixmap;
    int m_side;
    FrameDriver* m_driver;
    bool m_pulsing = false;
};
constexpr QMargins kBubblePadding(16, 9, 16, 9);

LiquidGlass* glass(LiquidGlass::Shape shape, QWidget* parent) {
    auto* g = new LiquidGlass({PillView::ink()}, std::move(shape), PillView::ink(), parent);
    g->hide();
    return g;
}

LiquidGlass::Shape rounded(const int* radius) {
    return [radius](const QRectF& r) {
        QPainterPath path;
        path.addRoundedRect(r, *radius, *radius);
        return path;
    };
}

LiquidGlass::Shape circle() {
    return [](const QRectF& r) {
        QPainterPath path;
        path.addEllipse(r);
        return path;
    };
}

QLabel* symbolLabel(const QString& symbol, int side, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(Symbols::pixmap(symbol, side, color, label->devicePixelRatioF()));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void place(LiquidGlass* g, const QRect& surface) {
    g->setGeometry(surface.marginsAdded(LiquidGlass::shadowMargins()));
    g->show();
}

} // namespace

QColor PillView::ink() {
    static const QColor color = Brand::withOpacity(Brand::tinta(), 0.84);
    return color;
}

PillView::PillView(AppState& state, ControllerAccess controller, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_controller(std::move(controller)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(QStringLiteral("Nolvea"));
    // The pill is always dark: light ink for everything inside.
    QPalette dark = palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Highlight, Theme::agent().accent);
    setPalette(dark);

    m_bubble = glass(rounded(&kBubbleRadius), this);
    m_bubbleText = new QLabel(m_bubble);
    // Words heard or typed: plain text, never markup.
    m_bubbleText->setTextFormat(Qt::PlainText);
    m_bubbleText->setAlignment(Qt::AlignCenter);
    m_bubbleText->setWordWrap(true);
    m_bubbleText->setFont(BrandFont::font(BrandFont::Face::regular, 14, QFont::Normal));

    m_agentDrop = glass(circle(), this);
    m_agentDrop->setAccessibleName(QStringLiteral("Modo agente"));
    m_agentSymbol =
        new PulsingSymbol(QStringLiteral("sparkles"), 15, Theme::agent().accent, m_agentDrop);
    m_agentSymbol->setAccessibleName(QStringLiteral("Modo agente"));

    m_pill = glass(rounded(&m_radius), this);
    m_pill->setAccessibleName(QStringLiteral("Pílula"));

    m_lockDrop = glass(circle(), this);
    m_lockSymbol = symbolLabel(QStringLiteral("lock.fill"), 13, Brand::withOpacity(Qt::white, 0.6),
                               m_lockDrop);
    m_lockSymbol->setAccessibleName(QStringLiteral("Mãos livres"));

    for (auto signal :
         {&AppState::stageChanged, &AppState::modeChanged, &AppState::handsFreeChanged,
          &AppState::liveTextChanged, &AppState::statusTextChanged, &AppState::pendingActionChanged,
          &AppState::answerTextChanged, &AppState::listeningSinceChanged})
        connect(&state, signal, this, &PillView::refresh);
    refresh();
}

const int PillView::kBubbleRadius = 18;

QRect PillView::pillRect() const {
    return !m_pill->isHidden() ? m_pill->geometry() - LiquidGlass::shadowMargins() : QRect();
}

bool PillView::showsAgentDrop() const {
    return !m_agentDrop->isHidden();
}

bool PillView::showsLockDrop() const {
    return !m_lockDrop->isHidden();
}

void PillView::focusCard() {
    if (auto* card = qobject_cast<ConfirmCard*>(m_content.data())) card->takeFocus();
}

void PillView::refresh() {
    m_presentation = PillPresentation::of(PillInputs::of(m_state));
    const PillContent kind = m_presentation.content;
    const bool stale =
        kind != m_contentKind ||
        (kind == PillContent::confirm && m_state.pendingAction() != m_contentAction) ||
        (kind == PillContent::answer && m_state.answerText() != m_contentAnswer);
    if (stale) rebuildContent();
    if (auto* listening = qobject_cast<PillListeningContent*>(m_content.data()))
        listening->updateTimer();
    if (auto* processing = qobject_cast<PillProcessingContent*>(m_content.data()))
        processing->setStatus(m_presentation.text);
    if (auto* result = qobject_cast<PillResultContent*>(m_content.data()))
        result->setResult(m_presentation.symbol, m_presentation.text);
    relayout();
}

void PillView::rebuildContent() {
    if (m_content) {
        // A card may be deciding inside its own key or click handler: let it return first.
        m_content->hide();
        m_content->deleteLater();
        m_content = nullptr;
    }
    m_contentKind = m_presentation.content;
    m_contentAction = m_state.pendingAction();
    m_contentAnswer = m_state.answerText();
    QWidget* content = nullptr;
    switch (m_contentKind) {
    case PillContent::none:
        break;
    case PillContent::listening:
        content = new PillListeningContent(m_state, m_pill);
        break;
    case PillContent::processing:
        content = new PillProcessingContent(m_state, m_pill);
        break;
    case PillContent::success:
        content = new PillResultContent(m_state, false, m_pill);
        break;
    case PillContent::error:
        content = new PillResultContent(m_state, true, m_pill);
        break;
    case PillContent::confirm:
        content = new ConfirmCard(*m_state.pendingAction(), m_state, m_controller, m_pill);
        break;
    case PillContent::answer:
        content = new AnswerCard(m_state.answerText(), m_controller, m_pill);
        break;
    }
    m_content = content;
    if (m_content) {
        m_content->installEventFilter(this);
        m_content->show();
    }
}

QString PillView::fittedBubbleText(const QString& text) const {
    const QString tail = PillPresentation::bubbleTail(text);
    const QFontMetrics fm(m_bubbleText->font());
    if (fm.horizontalAdvance(tail) <= kBubbleWidth) return tail;
    // Two lines at most, cut at the head so the newest words stay.
    auto fits = [&](const QString& s) {
        return fm.boundingRect(QRect(0, 0, kBubbleWidth, 10000), Qt::TextWordWrap, s).height() <=
               2 * fm.lineSpacing();
    };
    if (fits(tail)) return tail;
    qsizetype low = 1, high = tail.size();
    while (low < high) {
        const qsizetype mid = (low + high) / 2;
        if (fits(QStringLiteral("…") + tail.mid(mid)))
            high = mid;
        else
            low = mid + 1;
    }
    return QStringLiteral("…") + tail.mid(low);
}

QSize PillView::bubbleSize(const QString& text) {
    const QFontMetrics fm(m_bubbleText->font());
    QSize textSize;
    // One line when the newest words fit on one; otherwise the full two-line frame.
    if (fm.horizontalAdvance(PillPresentation::bubbleTail(text)) <= kBubbleWidth)
        textSize = QSize(fm.horizontalAdvance(text) + 1, fm.lineSpacing());
    else
        textSize = QSize(kBubbleWidth, fm.boundingRect(QRect(0, 0, kBubbleWidth, 10000),
                                                       Qt::TextWordWrap, fittedBubbleText(text))
                                           .height());
    return textSize.grownBy(kBubblePadding);
}

void PillView::relayout() {
    const PillPresentation& p = m_presentation;
    if (!p.showsGroup) {
        for (QWidget* w : {static_cast<QWidget*>(m_bubble), static_cast<QWidget*>(m_agentDrop),
                           static_cast<QWidget*>(m_pill), static_cast<QWidget*>(m_lockDrop)})
            w->hide();
        m_drawn = {};
        Q_EMIT drawnRegionChanged();
        return;
    }
    m_radius = p.radius;
    const int padH = p.padding.left() + p.padding.right();
    const int padV = p.padding.top() + p.padding.bottom();
    const int width = p.width ? *p.width : (m_content ? m_content->sizeHint().width() : 0) + padH;
    const int inner = width - padH;
    int contentHeight = 0;
    if (m_content)
        contentHeight = m_content->hasHeightForWidth() ? m_content->heightForWidth(inner)
                                                       : m_content->sizeHint().height();
    const int height = p.height ? *p.height : contentHeight + padV;

    std::optional<QSize> bubble;
    if (p.bubbleText) {
        const QString shown = fittedBubbleText(*p.bubbleText);
        m_bubbleText->setText(shown);
        QPalette pal = m_bubbleText->palette();
        pal.setColor(QPalette::WindowText,
                     p.bubbleSecondary ? Brand::withOpacity(Qt::white, 0.6) : QColor(Qt::white));
        m_bubbleText->setPalette(pal);
        bubble = bubbleSize(*p.bubbleText);
    }

    const PillPlacement::Group g = PillPlacement::group(size(), QSize(width, height), bubble,
                                                        p.showsAgentDrop, p.showsLockDrop);
    place(m_pill, g.pill);
    if (m_content) {
        const QRect surface = m_pill->contentsRect();
        const int h = p.height ? std::min(contentHeight, *p.height) : contentHeight;
        const int y =
            p.height ? surface.y() + (surface.height() - h) / 2 : surface.y() + p.padding.top();
        m_content->setGeometry(surface.x() + p.padding.left(), y, inner, h);
        m_content->raise();
    }
    if (bubble) {
        place(m_bubble, g.bubble);
        m_bubbleText->setGeometry(m_bubble->contentsRect() - kBubblePadding);
    } else {
        m_bubble->hide();
    }
    if (p.showsAgentDrop) {
        place(m_agentDrop, g.agentDrop);
        m_agentSymbol->setGeometry(m_agentDrop->contentsRect());
        static_cast<PulsingSymbol*>(m_agentSymbol)->setPulsing(p.agentDropPulses);
    } else {
        m_agentDrop->hide();
    }
    if (p.showsLockDrop) {
        place(m_lockDrop, g.lockDrop);
        m_lockSymbol->setGeometry(m_lockDrop->contentsRect());
    } else {
        m_lockDrop->hide();
    }

    auto shapeOf = [](const QRect& r, int radius) {
        QPainterPath path;
        path.addRoundedRect(QRectF(r), radius, radius);
        return QRegion(path.toFillPolygon().toPolygon());
    };
    QRegion drawn = shapeOf(g.pill, m_radius);
    if (bubble) drawn += shapeOf(g.bubble, kBubbleRadius);
    if (p.showsAgentDrop) drawn += shapeOf(g.agentDrop, g.agentDrop.width() / 2);
    if (p.showsLockDrop) drawn += shapeOf(g.lockDrop, g.lockDrop.width() / 2);
    m_drawn = drawn;
    update();
    Q_EMIT drawnRegionChanged();
}

void PillView::resizeEvent(QResizeEvent*) {
    relayout();
}

void PillView::paintEvent(QPaintEvent*) {
    // Only a compositor shows it: without one the window is cut to the glass.
    const QRect pill = pillRect();
    if (pill.isEmpty() || m_presentation.shadowOpacity <= 0) return;
    constexpr int kBlur = 16;
    if (m_shadowSize != pill.size()) {
        m_shadowSize = pill.size();
        QImage shape(pill.size() + QSize(4 * kBlur, 4 * kBlur),
                     QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        QPainter sp(&shape);
        sp.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(2 * kBlur, 2 * kBlur, pill.width(), pill.height()), m_radius,
                            m_radius);
        sp.fillPath(path, Qt::black);
        sp.end();
        m_shadow = blurred(shape, kBlur / 2.0);
    }
    QPainter p(this);
    p.setOpacity(m_presentation.shadowOpacity);
    p.drawImage(pill.topLeft() - QPoint(2 * kBlur, 2 * kBlur) + QPoint(0, 6), m_shadow);
}

bool PillView::eventFilter(QObject* watched, QEvent* e) {
    // The content grew or shrank (a longer status, more lines in the editor).
    if (watched == m_content && e->type() == QEvent::LayoutRequest) relayout();
    return QWidget::eventFilter(watched, e);
}

} // namespace nolvea
