#pragma once

#include "core/AIConnection.h"
#include "core/FollowUpMode.h"
#include "core/NeuralVoice.h"
#include "core/VoiceEngine.h"
#include "platform/SystemVoice.h"
#include "speech/TTSServer.h"

#include <QString>

#include <optional>
#include <vector>

namespace nolvea {

class AppSettings;

// The texts, choices and the warm-up rule of the voice and conversation card.
namespace VoiceCardModel {

const std::vector<VoiceEngine>& engines();
const std::vector<NeuralVoice>& neuralVoices();
const std::vector<FollowUpMode>& followUpModes();

QString engineLabel(VoiceEngine engine);
QString engineDetail(VoiceEngine engine);
QString neuralVoiceLabel(NeuralVoice voice);
QString neuralVoiceDetail(NeuralVoice voice);
QString followUpLabel(FollowUpMode mode);

QString ttsStatusText(const TTSServer::Status& status);
AIConnection ttsConnection(const TTSServer::Status& status);

// "Voz do macOS (reserva)" beside the neural engine, "Voz" alone.
QString systemVoiceTitle(VoiceEngine engine);
// The hint under the system voice row when no better than compact voice is installed.
QString compactVoicesHint();
// The hint, when no listed voice is better than compact (an empty list included).
std::optional<QString> systemVoiceDetail(const std::vector<SystemVoice::Voice>& voices);
QString qualityLabel(SystemVoice::Quality quality);
struct VoiceItem {
    QString label;
    QString identifier; // empty: the automatic choice
    bool operator==(const VoiceItem&) const = default;
};
// The system voice picker: the automatic choice, then each voice with its quality.
std::vector<VoiceItem> systemVoiceItems(const std::vector<SystemVoice::Voice>& voices);

QString sampleSentence();
constexpr double kMinimumRate = 0.8;
constexpr double kMaximumRate = 1.4;
constexpr double kRateStep = 0.05;
// The slider's position (steps from the minimum) for a rate, and back.
int rateStep(double rate);
double rateAt(int step);

// Warms the chosen neural voice when the neural engine is chosen and the voice is not warm.
// Returns whether a warm-up was asked for.
bool warmIfNeeded(const AppSettings& settings, TTSServer& server);

} // namespace VoiceCardModel

} // namespace nolvea
