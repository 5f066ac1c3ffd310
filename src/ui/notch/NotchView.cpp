#include "ui/notch/NotchView.h"

#include "core/AppState.h"
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
    , m_shake(new ShakeEffect(m_island, state.errorCount())) {
    setAccessibleName(QStringLiteral("Ilha"));
    setAttribute(Qt::WA_TranslucentBackground);
    m_island->setAccessibleName(QStringLiteral("Contorno da ilha"));
    m_mark->setAccessibleName(QStringLiteral("Nolvea"));
    m_mark->setAttribute(Qt::WA_TransparentForMouseEvents);

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

void NotchView::refresh() {
    const NotchModel& model = m_controller.model();
    m_kind = NotchPresentation::of(m_state.stage(), m_state.mode(), model.isHovering(),
                                   m_state.liveText());
    const NotchEars::Inputs ears = NotchEars::Inputs::of(m_state, model.isHovering());
    m_mark->setInputs(NotchEars::mark(ears));
    m_mark->setVisible(!NotchEars::hidesMark(m_state.stage()));
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
    if (m_card) {
        m_card->hide();
        m_card->deleteLater();
    }
    m_card = nullptr;
    m_cardKind.reset();
    if (!wanted) return;
    const ControllerAccess access = [this]() -> VoiceController& {
        return m_controller.voiceController();
    };
    switch (m_kind) {
    case Kind::hover:
        m_card = new NotchHoverPanel(m_state, m_controller, m_island);
        break;
    case Kind::working:
        m_card = new NotchWorkingCard(m_state, m_island);
        break;
    case Kind::confirm:
        if (action) {
            // A detail that repeats the editable value would show it twice beside the editor.
            ActionPreview shown = *action;
            shown.details = NotchTexts::visibleDetails(*action);
            m_card = new ConfirmCard(shown, m_state, access, m_island);
        }
        break;
    case Kind::answer:
        m_card = new NotchAnswerCard(m_state, m_controller, m_island);
        break;
    case Kind::result:
        m_card = new NotchResultCard(m_state, m_island);
        break;
    case Kind::compact:
    case Kind::listening:
        break;
    }
    m_cardKind = m_kind;
    m_cardAction = action;
    if (m_card) {
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
    if (m_card) {
        int cardHeight = m_card->sizeHint().height();
        if (QLayout* l = m_card->layout(); l && l->hasHeightForWidth())
            cardHeight = l->totalHeightForWidth(cardWidth);
        else if (m_card->hasHeightForWidth())
            cardHeight = m_card->heightForWidth(cardWidth);
        cardHeight = std::min(cardHeight, this->height() - notch.height() - 24 - 40);
        height += 6 + cardHeight + 18;
    }
    const int room = NotchIsland::kGlowRoom;
    const QRect frame((this->width() - width) / 2 - room, 0, width + 2 * room, height + room);
    if (!m_shake->isShaking())
        m_island->setGeometry(frame);
    else
        m_island->resize(frame.size());

    NotchIsland::Look look;
    look.shape = {double(NotchPresentation::kShoulder), NotchPresentation::bottomRadius(m_kind)};
    look.glow = NotchPresentation::glow(m_state.stage(), m_state.levels());
    look.notchWidth = notch.width();
    look.notchHeight = notch.height();
    const NotchEars::Inputs ears = NotchEars::Inputs::of(m_state, model.isHovering());
    look.status = NotchEars::status(ears);
    look.right = NotchEars::right(ears);
    look.rightSymbols = NotchEars::rightSymbols(ears);
    const QVariant icon = m_state.targetAppIcon();
    look.targetIcon = icon.canConvert<QImage>() ? icon.value<QImage>() : QImage();
    m_island->setLook(look);

    const QSize mark = NotchEars::markSize(m_state.stage());
    const QRect ear = m_island->leftEar();
    m_mark->setGeometry(ear.left(), ear.center().y() - mark.height() / 2 + 1, mark.width(),
                        mark.height());
    if (m_card)
        m_card->setGeometry(room + kCardInset, notch.height() + 6, cardWidth,
                            height - notch.height() - 6 - 18);
    m_controller.model().setIslandSize({width, height});
    Q_EMIT islandChanged();
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
