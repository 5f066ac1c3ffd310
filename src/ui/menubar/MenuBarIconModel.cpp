#include "ui/menubar/MenuBarIconModel.h"

namespace nolvea {

using Stage = AppState::Stage;

QString MenuBarIconModel::symbol(Stage stage, VoiceMode mode) {
    switch (stage) {
    case Stage::listening:
    case Stage::processing:
        return mode == VoiceMode::agent ? QStringLiteral("sparkles") : QStringLiteral("waveform");
    case Stage::error:
        return QStringLiteral("exclamationmark.bubble");
    case Stage::confirming:
    case Stage::answer:
        return QStringLiteral("waveform");
    case Stage::idle:
    case Stage::success:
        break;
    }
    return {};
}

MenuBarLabel MenuBarIconModel::label(Stage stage, VoiceMode mode) {
    if (stage == Stage::idle || stage == Stage::success) return {};
    return {false, symbol(stage, mode), stage == Stage::listening || stage == Stage::processing};
}

} // namespace nolvea
