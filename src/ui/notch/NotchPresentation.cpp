#include "ui/notch/NotchPresentation.h"

#include "ui/components/Brand.h"

#include <algorithm>

namespace nolvea {

using Stage = AppState::Stage;
using Kind = NotchPresentation::Kind;

Kind NotchPresentation::of(Stage stage, VoiceMode mode, bool hovering, const QString& liveText) {
    const bool agent = mode == VoiceMode::agent;
    switch (stage) {
    case Stage::listening:
        return hovering && agent && !liveText.isEmpty() ? Kind::working : Kind::listening;
    case Stage::processing:
        if (!hovering) return Kind::compact;
        return agent ? Kind::working : Kind::hover;
    case Stage::confirming:
        return Kind::confirm;
    case Stage::answer:
        return Kind::answer;
    case Stage::success:
        if (agent) return Kind::result;
        break;
    case Stage::idle:
    case Stage::error:
        break;
    }
    return hovering ? Kind::hover : Kind::compact;
}

int NotchPresentation::islandWidth(Kind kind, int wn, bool hasEmailDraft) {
    const int s2 = 2 * kShoulder;
    switch (kind) {
    case Kind::compact:
        return wn + 92 + s2;
    case Kind::listening:
        return wn + 124 + s2;
    case Kind::confirm:
        return hasEmailDraft ? std::max(wn + 400, 620) : std::max(wn + 260, 500);
    case Kind::hover:
    case Kind::working:
    case Kind::answer:
    case Kind::result:
        break;
    }
    return std::max(wn + 220, 470);
}

double NotchPresentation::bottomRadius(Kind kind) {
    return kind == Kind::compact || kind == Kind::listening ? 13 : 28;
}

NotchPresentation::Glow NotchPresentation::glow(Stage stage, const QList<float>& levels) {
    if (stage != Stage::listening) return {QColor(Qt::transparent), 0};
    const double level = levels.isEmpty() ? 0.0 : double(levels.last());
    return {Brand::withOpacity(Brand::roxo(), 0.35 + 0.5 * level), 10 + 22 * level};
}

QString NotchPresentation::name(Kind kind) {
    static const char* names[] = {"compact", "listening", "hover", "working",
                                  "confirm", "answer",    "result"};
    return QString::fromLatin1(names[int(kind)]);
}

} // namespace nolvea
