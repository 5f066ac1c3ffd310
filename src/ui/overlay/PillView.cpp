#include "ui/overlay/PillView.h"

#include "core/AppState.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/MorphingLabel.h"
#include "ui/animation/StillPicture.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/components/Blur.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/FlatGlass.h"
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

#include <cmath>

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

LiquidGlass::Shape rounded(const double* radius) {
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

QRect snapped(const QRectF& r) {
    return QRect(int(std::lround(r.x())), int(std::lround(r.y())), int(std::lround(r.width())),
                 int(std::lround(r.height())));
}

TransitionEffect* effectOf(QWidget* w) {
    auto* effect = qobject_cast<TransitionEffect*>(w->graphicsEffect());
    if (!effect) {
        effect = new TransitionEffect;
        w->setGraphicsEffect(effect);
    }
    return effect;
}

QRegion shapeRegion(const QRectF& r, double radius, const QTransform& t = {}) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return QRegion(t.map(path).toFillPolygon().toPolygon());
}

// The spacing within which the group's shapes melt together.
constexpr double kGlassSpacing = 18;

// A shape as its transition draws it now; fading also shrinks it, so a shape that comes grows
// out of its neighbour and one that goes melts back into it.
GlassBlend::Shape silhouette(const QRect& surface, double radius, TransitionLook look) {
    look.scale *= std::clamp(look.opacity, 0.0, 1.0);
    const QTransform t = look.transform(QRectF(surface.marginsAdded(LiquidGlass::shadowMargins())));
    return {t.mapRect(QRectF(surface)), radius * look.scale};
}

} // namespace

// The whole glass group and the capsule's shadow, so the group comes and goes as one.
class PillView::GroupLayer : public QWidget {
public:
    explicit GroupLayer(PillView* view)
        : QWidget(view)
        , m_view(view) {
        setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.save();
        m_view->paintShadow(p);
        p.restore();
        m_view->paintSurface(p);
    }

private:
    PillView* m_view;
};

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

    m_group = new GroupLayer(this);
    m_groupEffect = effectOf(m_group);
    m_group->hide();
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_motion.advance(dt);
        applyFrame();
        return moving;
    });

    m_bubble = glass(rounded(&kBubbleRadiusF), m_group);
    m_bubbleText = new MorphingLabel(m_bubble);
    // Words heard or typed: plain text, never markup.
    m_bubbleText->setTextFormat(Qt::PlainText);
    m_bubbleText->setAlignment(Qt::AlignCenter);
    m_bubbleText->setWordWrap(true);
    m_bubbleText->setFont(BrandFont::font(BrandFont::Face::regular, 14, QFont::Normal));

    m_agentDrop = glass(circle(), m_group);
    m_agentDrop->setAccessibleName(QStringLiteral("Modo agente"));
    m_agentSymbol =
        new PulsingSymbol(QStringLiteral("sparkles"), 15, Theme::agent().accent, m_agentDrop);
    m_agentSymbol->setAccessibleName(QStringLiteral("Modo agente"));

    m_pill = glass(rounded(&m_radius), m_group);
    m_pill->setAccessibleName(QStringLiteral("Pílula"));

    m_lockDrop = glass(circle(), m_group);
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
const double PillView::kBubbleRadiusF = PillView::kBubbleRadius;

QRect PillView::pillRect() const {
    return !m_pill->isHidden() ? m_pill->geometry() - LiquidGlass::shadowMargins() : QRect();
}

bool PillView::showsAgentDrop() const {
    return m_presentation.showsAgentDrop;
}

bool PillView::showsLockDrop() const {
    return m_presentation.showsLockDrop;
}

bool PillView::animates() const {
    return isVisible() && !FrameClock::shared().reduceMotion();
}

void PillView::focusCard() {
    if (auto* card = qobject_cast<ConfirmCard*>(m_content.data())) card->takeFocus();
}

void PillView::refresh() {
    const PillInputs in = PillInputs::of(m_state);
    // A new stage, mode or hands-free morphs; a new text only resizes, more quickly.
    m_resize =
        in.stage != m_inputs.stage || in.mode != m_inputs.mode || in.handsFree != m_inputs.handsFree
            ? &Theme::morph()
            : &Theme::snappy();
    m_inputs = in;
    m_presentation = PillPresentation::of(in);
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
    delete m_ghost;
    const bool animated = animates() && m_motion.frame().group;
    if (m_content && animated && !m_content->isHidden()) {
        // The old content blurs away as a picture while the new one blurs in.
        auto* ghost = new StillPicture(m_content->grab(), m_pill);
        const QPointF pillCentre = QRectF(pillRect()).center();
        m_ghostOffset =
            QRectF(m_content->geometry().translated(m_pill->pos())).center() - pillCentre;
        m_ghost = ghost;
        ghost->show();
    }
    m_motion.replaceContent(animated);
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
    if (animated) m_driver->kick();
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
    PillMotion::Layout layout;
    if (!p.showsGroup) {
        m_cameWhileHidden = false;
        m_motion.setLayout(layout, animates(), *m_resize);
        if (animates()) m_driver->kick();
        applyFrame();
        return;
    }
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
        m_bubbleText->morphTo(shown);
        QPalette pal = m_bubbleText->palette();
        pal.setColor(QPalette::WindowText,
                     p.bubbleSecondary ? Brand::withOpacity(Qt::white, 0.6) : QColor(Qt::white));
        m_bubbleText->setPalette(pal);
        bubble = bubbleSize(*p.bubbleText);
    }

    const PillPlacement::Group g = PillPlacement::group(size(), QSize(width, height), bubble,
                                                        p.showsAgentDrop, p.showsLockDrop);
    layout.group = true;
    layout.pill = g.pill;
    layout.radius = p.radius;
    layout.shadow = p.shadowOpacity;
    if (bubble) layout.bubble = g.bubble;
    if (p.showsAgentDrop) layout.agentDrop = g.agentDrop;
    if (p.showsLockDrop) layout.lockDrop = g.lockDrop;
    if (m_content) {
        const int h = p.height ? std::min(contentHeight, *p.height) : contentHeight;
        const int y =
            p.height ? g.pill.y() + (g.pill.height() - h) / 2 : g.pill.y() + p.padding.top();
        m_contentTarget = QRect(g.pill.x() + p.padding.left(), y, inner, h);
    }
    static_cast<PulsingSymbol*>(m_agentSymbol)->setPulsing(p.agentDropPulses);
    const bool animated = animates();
    if (!isVisible() && !m_motion.layout().group) m_cameWhileHidden = true;
    m_motion.setLayout(layout, animated, *m_resize);
    if (animated) m_driver->kick();
    applyFrame();
}

void PillView::applyFrame() {
    const PillMotion::Frame f = m_motion.frame();
    if (!f.group) {
        m_group->hide();
        for (QWidget* w : {static_cast<QWidget*>(m_bubble), static_cast<QWidget*>(m_agentDrop),
                           static_cast<QWidget*>(m_pill), static_cast<QWidget*>(m_lockDrop)})
            w->hide();
        delete m_ghost;
        if (!m_drawn.isEmpty()) {
            m_drawn = {};
            Q_EMIT drawnRegionChanged();
        }
        return;
    }
    m_group->setGeometry(rect());
    m_group->show();
    // The group grows from and sinks towards the bottom centre of its row.
    const PillMotion::Layout& target = m_motion.layout();
    QRectF row = target.group ? QRectF(target.pill) : f.pill;
    for (const auto& drop : {f.agentDrop, f.lockDrop})
        if (drop) row |= drop->rect;
    TransitionLook groupLook = f.groupLook;
    groupLook.anchor =
        QPointF(row.center().x() / std::max(1, width()), row.bottom() / std::max(1, height()));
    m_groupEffect->setLook(groupLook);
    m_radius = f.radius;
    const QRect pill = snapped(f.pill);
    place(m_pill, pill);
    m_pill->update();

    // The content sits where it will be at rest, so it can be reached at once; the capsule
    // grows around it.
    if (m_content) {
        m_content->setGeometry(m_contentTarget.translated(-m_pill->pos()));
        m_content->raise();
        effectOf(m_content)->setLook(f.content);
    }
    if (m_ghost) {
        if (!f.leaving) {
            delete m_ghost;
        } else {
            QRectF r(QPointF(), m_ghost->size());
            r.moveCenter(QRectF(pill).center() + m_ghostOffset);
            m_ghost->move(snapped(r).topLeft() - m_pill->pos());
            effectOf(m_ghost)->setLook(*f.leaving);
        }
    }

    auto show = [](LiquidGlass* g, const std::optional<PillMotion::Shape>& shape) {
        if (!shape) {
            g->hide();
            return;
        }
        place(g, snapped(shape->rect));
        effectOf(g)->setLook(shape->look);
    };
    show(m_bubble, f.bubble);
    if (f.bubble) {
        m_bubbleText->setGeometry(m_bubble->contentsRect() - kBubblePadding);
        // Words on their way are laid out at the size the bubble comes to rest at, so they
        // never rewrap while it grows.
        if (target.bubble)
            m_bubbleText->setRestingSize(
                (QRect(QPoint(), target.bubble->size()) - kBubblePadding).size());
    }
    show(m_agentDrop, f.agentDrop);
    if (f.agentDrop) m_agentSymbol->setGeometry(m_agentDrop->contentsRect());
    show(m_lockDrop, f.lockDrop);
    if (f.lockDrop) m_lockSymbol->setGeometry(m_lockDrop->contentsRect());

    // Out of the flat look the group draws its glass as one surface, so shapes that stand
    // close melt together.
    const bool melted = !FlatGlass::isFlat(this);
    m_surfaceShapes.clear();
    if (melted) {
        m_surfaceShapes.push_back({QRectF(pill), f.radius});
        auto add = [&](LiquidGlass* g, const std::optional<PillMotion::Shape>& shape,
                       double radius) {
            if (shape)
                m_surfaceShapes.push_back(
                    silhouette(g->geometry() - LiquidGlass::shadowMargins(), radius, shape->look));
        };
        add(m_bubble, f.bubble, kBubbleRadius);
        add(m_agentDrop, f.agentDrop, m_agentDrop->contentsRect().width() / 2.0);
        add(m_lockDrop, f.lockDrop, m_lockDrop->contentsRect().width() / 2.0);
    }
    for (LiquidGlass* g : {m_bubble, m_agentDrop, m_pill, m_lockDrop})
        g->setDrawnByGroup(melted);

    // What is drawn now, and where it is going, so nothing is cut off on the way.
    const QTransform t = groupLook.transform(QRectF(rect()));
    QRegion drawn = shapeRegion(f.pill, f.radius, t) + shapeRegion(target.pill, target.radius);
    auto add = [&](const std::optional<PillMotion::Shape>& now, const std::optional<QRect>& to,
                   auto radius) {
        if (now) drawn += shapeRegion(now->rect, radius(now->rect), t);
        if (to && target.group) drawn += shapeRegion(*to, radius(QRectF(*to)));
    };
    add(f.bubble, target.bubble, [](const QRectF&) { return double(kBubbleRadius); });
    const auto round = [](const QRectF& r) { return r.width() / 2; };
    add(f.agentDrop, target.agentDrop, round);
    add(f.lockDrop, target.lockDrop, round);
    if (m_surfaceShapes != m_necksFor) {
        m_necks = m_surfaceShapes.size() > 1 ? GlassBlend(m_surfaceShapes, kGlassSpacing).necks()
                                             : QRegion();
        m_necksFor = m_surfaceShapes;
    }
    drawn += t.map(m_necks);
    if (drawn != m_drawn) {
        m_drawn = drawn;
        Q_EMIT drawnRegionChanged();
    }
    m_group->update();
}

void PillView::resizeEvent(QResizeEvent*) {
    relayout();
}

void PillView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // The panel is shown just after the stage leaves idle: the group rises in then.
    if (m_cameWhileHidden && !FrameClock::shared().reduceMotion()) {
        m_motion.riseIn();
        m_driver->kick();
        applyFrame();
    }
    m_cameWhileHidden = false;
}

void PillView::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    // Hidden mid-way: it comes back at rest.
    m_motion.finish();
    applyFrame();
}

void PillView::paintShadow(QPainter& painter) {
    // Only a compositor shows it: without one the window is cut to the glass.
    const QRect pill = pillRect();
    const double opacity = m_motion.frame().shadow;
    if (pill.isEmpty() || opacity <= 0.005) return;
    constexpr int kBlur = 16;
    const int radius = int(std::lround(m_radius));
    if (m_shadowSize != pill.size() || m_shadowRadius != radius) {
        m_shadowSize = pill.size();
        m_shadowRadius = radius;
        QImage shape(pill.size() + QSize(4 * kBlur, 4 * kBlur),
                     QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        QPainter sp(&shape);
        sp.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(2 * kBlur, 2 * kBlur, pill.width(), pill.height()), radius,
                            radius);
        sp.fillPath(path, Qt::black);
        sp.end();
        m_shadow = blurred(shape, kBlur / 2.0);
    }
    painter.setOpacity(opacity);
    painter.drawImage(pill.topLeft() - QPoint(2 * kBlur, 2 * kBlur) + QPoint(0, 6), m_shadow);
}

void PillView::paintSurface(QPainter& painter) {
    if (m_surfaceShapes.empty()) return;
    if (m_surfaceShapes != m_surfaceMadeFor ||
        m_surface.devicePixelRatio() != devicePixelRatioF()) {
        const GlassBlend blend(m_surfaceShapes, kGlassSpacing);
        m_surfaceArea = blend.bounds().toAlignedRect() & rect();
        const LiquidGlass::Glass material{ink()};
        m_surface =
            blend.render(m_surfaceArea,
                         {LiquidGlass::materialFill(material), LiquidGlass::materialBorder(),
                          LiquidGlass::materialBorderWidth()},
                         devicePixelRatioF());
        m_surfaceMadeFor = m_surfaceShapes;
    }
    painter.drawImage(m_surfaceArea.topLeft(), m_surface);
}

bool PillView::eventFilter(QObject* watched, QEvent* e) {
    // The content grew or shrank (a longer status, more lines in the editor).
    if (watched == m_content && e->type() == QEvent::LayoutRequest) relayout();
    return QWidget::eventFilter(watched, e);
}

} // namespace nolvea
