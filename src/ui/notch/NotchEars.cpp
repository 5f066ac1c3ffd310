#include "ui/notch/NotchEars.h"

#include "ui/components/Theme.h"
#include "ui/notch/NotchPresentation.h"

namespace nolvea {

using Stage = AppState::Stage;

NotchEars::Inputs NotchEars::Inputs::of(const AppState& s, bool hovering) {
    return {s.stage(),
            s.mode(),
            s.levels(),
            s.isSpeaking(),
            s.toolSymbol(),
            s.targetAppIcon().isValid() && !s.targetAppIcon().isNull(),
            s.hasUnseenResult(),
            s.awaitingReply(),
            s.conversationTurns(),
            hovering};
}

int NotchEars::earWidth(int islandWidth, int notchWidth) {
    return (islandWidth - notchWidth) / 2 - NotchPresentation::kShoulder;
}

BrandMarkInputs NotchEars::mark(const Inputs& in) {
    BrandMarkInputs m;
    const bool listening = in.stage == Stage::listening;
    m.ball = in.mode == VoiceMode::agent && in.stage != Stage::idle;
    if (listening)
        m.level = in.levels.isEmpty() ? 0.0 : double(in.levels.last());
    else
        m.level = in.hovering ? 0.25 : 0.0;
    if (listening && !m.ball) m.levels = in.levels;
    m.animated = in.stage != Stage::idle || in.hovering;
    m.busy = in.stage == Stage::processing;
    m.glow = listening;
    m.echoes = false;
    return m;
}

QSize NotchEars::markSize(Stage stage) {
    return stage == Stage::idle ? QSize(24, 18) : QSize(32, 24);
}

bool NotchEars::hidesMark(Stage stage) {
    return stage == Stage::success || stage == Stage::error || stage == Stage::answer;
}

std::optional<NotchEars::Symbol> NotchEars::status(const Inputs& in) {
    switch (in.stage) {
    case Stage::success:
        return Symbol{QStringLiteral("checkmark.circle.fill"), 15, Theme::success()};
    case Stage::error:
        return Symbol{QStringLiteral("exclamationmark.circle.fill"), 15, Theme::failure()};
    case Stage::answer:
        if (in.isSpeaking)
            return Symbol{QStringLiteral("speaker.wave.2.fill"), 12, Theme::agent().colors[1]};
        return Symbol{QStringLiteral("sparkles"), 13, Theme::agent().accent};
    default:
        return std::nullopt;
    }
}

NotchEars::Right NotchEars::right(const Inputs& in) {
    if (in.stage == Stage::listening) return Right::target;
    if (in.stage == Stage::processing && in.toolSymbol) return Right::tool;
    if (in.stage == Stage::processing && in.mode == VoiceMode::agent) return Right::thinking;
    if (in.hasUnseenResult) return Right::unseen;
    if (in.awaitingReply && in.stage == Stage::idle) return Right::question;
    if (in.conversationTurns > 0 && in.stage == Stage::idle) return Right::conversation;
    return Right::none;
}

QList<NotchEars::Symbol> NotchEars::rightSymbols(const Inputs& in) {
    const QColor agent = Theme::agent().colors[1];
    switch (right(in)) {
    case Right::target:
        if (in.mode == VoiceMode::agent) return {{QStringLiteral("sparkles"), 11, agent}};
        return {};
    case Right::tool:
        return {{*in.toolSymbol, 12, agent}};
    case Right::thinking:
        return {{QStringLiteral("sparkles"), 11, agent}};
    case Right::question:
        return {{QStringLiteral("questionmark.bubble.fill"), 12, agent}};
    case Right::conversation: {
        QColor dim(Qt::white);
        dim.setAlphaF(0.45);
        return {{QStringLiteral("bubble.left.and.bubble.right.fill"), 10, dim}};
    }
    case Right::unseen:
    case Right::none:
        return {};
    }
    return {};
}

QString NotchEars::rightTooltip(Right right) {
    if (right == Right::question)
        return QStringLiteral("Ela te fez uma pergunta: segure a tecla e responda");
    if (right == Right::conversation) return QStringLiteral("Conversa em andamento");
    return {};
}

} // namespace nolvea
