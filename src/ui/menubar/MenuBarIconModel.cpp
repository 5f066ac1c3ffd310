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

std::vector<double> MenuBarIconModel::layerOpacities(int layers, int step) {
    if (layers <= 0) return {};
    std::vector<double> out(std::size_t(layers), kDimmedLayer);
    out[std::size_t(((step % layers) + layers) % layers)] = 1;
    return out;
}

} // namespace nolvea
