#include "ui/notch/NotchView.h"

#include "core/AppState.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/StillPicture.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/components/BrandMark.h"
#include "ui/components/ShakeEffect.h"
#include "ui/notch/NotchAnswerCard.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchEars.h"
#include "ui/notch/NotchHoverPanel.h"
#include "ui/notch/NotchIsland.h"
#include "ui/notch/NotchResultCard.h"
#include "ui/notch/NotchTexts.h"
#include "ui/notch/NotchWorkingCard.h"
#include "ui/overlay/ConfirmCard.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>

#include <cmath>

namespace nolvea {

using Kind = NotchPresentation::Kind;

namespace {

constexpr int kCardInset = NotchPresentation::kShoulder + 18;

} // namespace

NotchView::NotchView(AppState& state, NotchController& controller, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_controller(controller)
    , m_island(new NotchIsland(this))
    , m_mark(new BrandMark({}, m_island))
    , m_shake(new ShakeEffect(m_island, state.errorCount()))
    , m_markEffect(new TransitionEffect)
    , m_clip(new QWidget(m_island)) {
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_motion.advance(dt);
        applyFrame();
        return moving;
    });
    setAccessibleName(QStringLiteral("Ilha"));
    setAttribute(Qt::WA_TranslucentBackground);
    m_island->setAccessibleName(QStringLiteral("Contorno da ilha"));
    m_mark->setAccessibleName(QStringLiteral("Nolvea"));
    m_mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_mark->setGraphicsEffect(m_markEffect);
    m_clip->setAccessibleName(QStringLiteral("Cartão da ilha"));

    const auto changed = [this] { refresh(); };
    for (auto signal : {&AppState::stageChanged, &AppState::modeChanged, &AppState::liveTextChanged,
                        &AppState::pendingActionChanged, &AppState::levelsChanged,
                        &AppState::isSpeakingChanged, &AppState::toolSymbolChanged,
                        &AppState::targetAppIconChanged, &AppState::hasUnseenResultChanged,
                        &AppState::awaitingReplyChanged, &AppState::conversationTurnsChanged})
        connect(&state, signal, this, changed);
    connect(&state, &AppState::errorCountChanged, this,
            [this] { m_shake->setTrigger(m_state.errorCount()); });
    NotchModel& model = controller.model();
    connect(&model, &NotchModel::hoveringChanged, this, changed);
    connect(&model, &NotchModel::geometryChanged, this, changed);
    refresh();
}

QRect NotchView::islandFrame() const {
    return m_island->geometry().adjusted(NotchIsland::kGlowRoom, 0, -NotchIsland::kGlowRoom,
                                         -NotchIsland::kGlowRoom);
}

QRegion NotchView::islandRegion() const {
    const QPainterPath path =
        m_island->look().shape.path(m_island->body()).translated(m_island->pos());
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

bool NotchView::animates() const {
    return isVisible() && !FrameClock::shared().reduceMotion();
}

void NotchView::refresh() {
    const NotchModel& model = m_controller.model();
    m_kind = NotchPresentation::of(m_state.stage(), m_state.mode(), model.isHovering(),
                                   m_state.liveText());
    const NotchEars::Inputs ears = NotchEars::Inputs::of(m_state, model.isHovering());
    m_mark->setInputs(NotchEars::mark(ears));
    rebuildCard();
    relayout();
}

void NotchView::rebuildCard() {
    const bool wanted = NotchPresentation::showsCard(m_kind);
    const auto action = m_state.pendingAction();
    // A card is made afresh each time its presentation starts; the confirmation also for
    // another action.
    if (wanted && m_cardKind == m_kind && (m_kind != Kind::confirm || m_cardAction == action))
        return;
    const bool animated = animates();
    const bool hadCard = m_card != nullptr;
    if (m_card) {
        delete m_leaving;
        if (animated && m_card->isVisible()) {
            m_card->setGraphicsEffect(nullptr);
            // Drawn on clear pixels: only what the card itself paints leaves with it.
            const qreal ratio = devicePixelRatioF();
            QPixmap picture(m_card->size() * ratio);
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            m_card->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
            m_leaving = new StillPicture(picture, m_clip);
            m_leavingSize = m_card->size();
            m_leaving->setGraphicsEffect(new TransitionEffect);
            m_leaving->show();
        }
        m_card->hide();
        m_card->deleteLater();
    }
    m_card = nullptr;
    m_cardKind.reset();
    if (!wanted) {
        m_motion.replaceCard(hadCard, false, animated);
        return;
    }
    const ControllerAccess access = [this]() -> VoiceController& {
        return m_controller.voiceController();
    };
    switch (m_kind) {
    case Kind::hover:
        m_card = new NotchHoverPanel(m_state, m_controller, m_clip);
        break;
    case Kind::working:
        m_card = new NotchWorkingCard(m_state, m_clip);
        break;
    case Kind::confirm:
        if (action) {
            // A detail that repeats the editable value would show it twice beside the editor.
            ActionPreview shown = *action;
            shown.details = NotchTexts::visibleDetails(*action);
            m_card = new ConfirmCard(shown, m_state, access, ConfirmCardStyle::island(), m_clip);
        }
        break;
    case Kind::answer:
        m_card = new NotchAnswerCard(m_state, m_controller, m_clip);
        break;
    case Kind::result:
        m_card = new NotchResultCard(m_state, m_clip);
        break;
    case Kind::compact:
    case Kind::listening:
        break;
    }
    m_cardKind = m_kind;
    m_cardAction = action;
    m_motion.replaceCard(hadCard, m_card != nullptr, animated);
    if (m_card) {
        m_card->setGraphicsEffect(new TransitionEffect);
        m_card->installEventFilter(this);
        m_card->show();
    }
}

void NotchView::relayout() {
    const NotchModel& model = m_controller.model();
    const QSize notch = model.geometry().notchSize;
    const auto action = m_state.pendingAction();
    const int width =
        NotchPresentation::islandWidth(m_kind, notch.width(), action && action->email.has_value());
    int height = notch.height();
    const int cardWidth = width - 2 * kCardInset;
    m_cardSize = {};
    if (m_card) {
        int cardHeight = m_card->sizeHint().height();
        if (QLayout* l = m_card->layout(); l && l->hasHeightForWidth())
            cardHeight = l->totalHeightForWidth(cardWidth);
        else if (m_card->hasHeightForWidth())
            cardHeight = m_card->heightForWidth(cardWidth);
        cardHeight = std::min(cardHeight, this->height() - notch.height() - 24 - 40);
        height += 6 + cardHeight + 18;
        m_cardSize = {cardWidth, cardHeight};
    }

    NotchIsland::Look look;
    look.shape = {double(NotchPresentation::kShoulder), NotchPresentation::bottomRadius(m_kind)};
    look.glow = NotchPresentation::glow(m_state.stage(), m_state.levels());
    look.notchWidth = notch.width();
    look.notchHeight = notch.height();
    const NotchEars::Inputs ears = NotchEars::Inputs::of(m_state, model.isHovering());
    look.status = NotchEars::status(ears);
    look.statusEffect = NotchMotion::statusEffect(m_state.stage(), m_state.isSpeaking());
    look.right = NotchEars::right(ears);
    look.rightSymbols = NotchEars::rightSymbols(ears);
    const QVariant icon = m_state.targetAppIcon();
    look.targetIcon = icon.canConvert<QImage>() ? icon.value<QImage>() : QImage();
    m_island->setLook(look);

    NotchMotion::Target target;
    target.size = QSizeF(width, height);
    target.bottomRadius = look.shape.bottomRadius;
    target.stage = m_state.stage();
    target.glow = look.glow;
    target.markSize = NotchEars::markSize(m_state.stage());
    target.markShown = !NotchEars::hidesMark(m_state.stage());
    const bool animated = animates();
    m_motion.setTarget(target, animated);
    // The hover test works on the island as it will be, not on a frame on the way there.
    m_controller.model().setIslandSize({width, height});
    if (animated) m_driver->kick();
    applyFrame();
}

void NotchView::applyFrame() {
    const NotchMotion::Frame f = m_motion.frame();
    const int width = int(std::lround(f.size.width()));
    const int height = int(std::lround(f.size.height()));
    const int room = NotchIsland::kGlowRoom;
    const QRect frame((this->width() - width) / 2 - room, 0, width + 2 * room, height + room);
    if (!m_shake->isShaking())
        m_island->setGeometry(frame);
    else
        m_island->resize(frame.size());

    NotchIsland::Look look = m_island->look();
    look.shape.bottomRadius = f.bottomRadius;
    look.glow = f.glow;
    m_island->setLook(look);

    // The cards sit where they will be at rest, centred under the ears; the outline cuts them
    // while the island grows round them.
    const QRect body = m_island->body();
    m_clip->setGeometry(body);
    const QPolygon polygon =
        look.shape.path(QRectF(QPointF(), body.size())).toFillPolygon().toPolygon();
    m_clip->setMask(QRegion(polygon, Qt::WindingFill));
    const int top = look.notchHeight + 6;
    if (m_card) {
        m_card->setGeometry((width - m_cardSize.width()) / 2, top, m_cardSize.width(),
                            m_cardSize.height());
        if (auto* e = qobject_cast<TransitionEffect*>(m_card->graphicsEffect())) e->setLook(f.card);
    }
    if (m_leaving) {
        if (!f.leaving) {
            delete m_leaving;
        } else {
            m_leaving->move((width - m_leavingSize.width()) / 2, top);
            if (auto* e = qobject_cast<TransitionEffect*>(m_leaving->graphicsEffect()))
                e->setLook(*f.leaving);
        }
    }

    const QSize mark = f.markSize.toSize();
    const QRect ear = m_island->leftEar();
    m_mark->setGeometry(ear.left(), ear.center().y() - mark.height() / 2 + 1, mark.width(),
                        mark.height());
    m_markEffect->setLook(f.mark);
    m_mark->setVisible(f.mark.opacity > 0.001);
    Q_EMIT islandChanged();
}

void NotchView::resizeEvent(QResizeEvent*) {
    // The island hangs from the middle of whatever width the panel gives.
    relayout();
}

bool NotchView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_card && e->type() == QEvent::LayoutRequest && !m_relayoutPending) {
        m_relayoutPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_relayoutPending = false;
                relayout();
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, e);
}

void NotchView::focusCard() {
    if (auto* confirm = qobject_cast<ConfirmCard*>(m_card.data())) confirm->takeFocus();
}

} // namespace nolvea
