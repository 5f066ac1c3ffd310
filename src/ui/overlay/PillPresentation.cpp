#include "ui/overlay/PillPresentation.h"

#include "support/Graphemes.h"

namespace nolvea {

using Stage = AppState::Stage;

PillInputs PillInputs::of(const AppState& state) {
    PillInputs in;
    in.stage = state.stage();
    in.mode = state.mode();
    in.handsFree = state.handsFree();
    in.liveText = state.liveText();
    in.statusText = state.statusText();
    in.hasPendingAction = state.pendingAction().has_value();
    in.pendingHasEmail = in.hasPendingAction && state.pendingAction()->email.has_value();
    return in;
}

PillPresentation PillPresentation::of(const PillInputs& in) {
    PillPresentation p;
    p.showsGroup = in.stage != Stage::idle;
    const bool card = in.stage == Stage::confirming || in.stage == Stage::answer;
    const bool heard = in.stage == Stage::listening || in.stage == Stage::processing;

    switch (in.stage) {
    case Stage::idle:
        p.content = PillContent::none;
        break;
    case Stage::listening:
        p.content = PillContent::listening;
        break;
    case Stage::processing:
        p.content = PillContent::processing;
        p.text = in.statusText.isEmpty() ? QStringLiteral("Processando…") : in.statusText;
        break;
    case Stage::success:
        p.content = PillContent::success;
        p.text = in.statusText;
        p.symbol = QStringLiteral("checkmark.circle.fill");
        break;
    case Stage::error:
        p.content = PillContent::error;
        p.text = in.statusText;
        p.symbol = QStringLiteral("exclamationmark.circle.fill");
        break;
    case Stage::confirming:
        p.content = in.hasPendingAction ? PillContent::confirm : PillContent::none;
        break;
    case Stage::answer:
        p.content = PillContent::answer;
        break;
    }

    if (card) {
        p.padding = QMargins(16, 16, 16, 16);
        p.width = in.stage == Stage::confirming && in.pendingHasEmail ? 580 : 420;
        p.radius = 26;
    } else {
        p.padding = QMargins(8, 0, 14, 0);
        p.height = kCapsuleHeight;
        p.radius = 23;
    }
    p.shadowOpacity = in.stage == Stage::listening || card ? 0.22 : 0;

    if (heard) {
        const QString trimmed = in.liveText.trimmed();
        if (!trimmed.isEmpty()) p.bubbleText = trimmed;
        p.bubbleSecondary = in.stage == Stage::processing;
    }
    p.showsAgentDrop = in.mode == VoiceMode::agent && heard;
    p.agentDropPulses = p.showsAgentDrop && in.stage == Stage::processing;
    p.showsLockDrop = in.handsFree && in.stage == Stage::listening;
    return p;
}

QString PillPresentation::bubbleTail(const QString& text) {
    return Graphemes::last(text, kBubbleCharacters);
}

QString PillPresentation::timerText(std::chrono::milliseconds elapsed) {
    const qint64 total = std::max<qint64>(0, elapsed.count() / 1000);
    const qint64 hours = total / 3600, minutes = total / 60 % 60, seconds = total % 60;
    auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    if (hours > 0) return QStringLiteral("%1:%2:%3").arg(hours).arg(two(minutes), two(seconds));
    return QStringLiteral("%1:%2").arg(minutes).arg(two(seconds));
}

} // namespace nolvea
