#include "ui/settings/VoiceCardModel.h"

#include "core/AppSettings.h"
#include "speech/NeuralVoiceRequest.h"

#include <cmath>

namespace nolvea::VoiceCardModel {

const std::vector<VoiceEngine>& engines() {
    static const std::vector<VoiceEngine> all{VoiceEngine::apple, VoiceEngine::neural};
    return all;
}

const std::vector<NeuralVoice>& neuralVoices() {
    static const std::vector<NeuralVoice> all{NeuralVoice::kokoroAlex, NeuralVoice::kokoroDora,
                                              NeuralVoice::voxtralMale, NeuralVoice::voxtralFemale,
                                              NeuralVoice::qwenJarvis};
    return all;
}

const std::vector<FollowUpMode>& followUpModes() {
    static const std::vector<FollowUpMode> all{FollowUpMode::never, FollowUpMode::whenAsked,
                                               FollowUpMode::always};
    return all;
}

QString engineLabel(VoiceEngine engine) {
    return engine == VoiceEngine::apple ? QStringLiteral("Vozes do macOS")
                                        : QStringLiteral("Voz neural local");
}

QString engineDetail(VoiceEngine engine) {
    return engine == VoiceEngine::apple
               ? QStringLiteral("Vozes do sistema. A neural é mais natural: baixa os modelos na "
                                "primeira vez e precisa do uv (brew install uv)")
               : QStringLiteral("Kokoro, Voxtral e Qwen3 rodando no seu Mac (mlx-audio)");
}

QString neuralVoiceLabel(NeuralVoice voice) {
    return NeuralVoiceRequest::label(voice);
}

QString neuralVoiceDetail(NeuralVoice voice) {
    switch (voice) {
    case NeuralVoice::kokoroAlex:
    case NeuralVoice::kokoroDora:
        return QStringLiteral("Começa a falar em ~0,5 s, sem pausas · 0,4 GB");
    case NeuralVoice::voxtralMale:
    case NeuralVoice::voxtralFemale:
        return QStringLiteral("Muito natural, mas lenta neste Mac: pausas entre frases · 2,5 GB");
    case NeuralVoice::qwenJarvis:
        break;
    }
    return QStringLiteral("Voz descrita (grave, calma, formal) · começa em ~1 s · 3,1 GB");
}

QString followUpLabel(FollowUpMode mode) {
    switch (mode) {
    case FollowUpMode::never:
        return QStringLiteral("Nunca");
    case FollowUpMode::whenAsked:
        return QStringLiteral("Quando ela perguntar algo");
    case FollowUpMode::always:
        break;
    }
    return QStringLiteral("Sempre");
}

QString ttsStatusText(const TTSServer::Status& status) {
    using Kind = TTSServer::Status::Kind;
    switch (status.kind()) {
    case Kind::stopped:
        return QStringLiteral("Servidor de voz parado — inicia no primeiro uso");
    case Kind::starting:
        return QStringLiteral("Iniciando o servidor de voz… (a primeira vez leva ~1 min)");
    case Kind::ready:
        return QStringLiteral("Servidor de voz pronto (porta 8766)");
    case Kind::failed:
        break;
    }
    return status.message();
}

AIConnection ttsConnection(const TTSServer::Status& status) {
    using Kind = TTSServer::Status::Kind;
    switch (status.kind()) {
    case Kind::stopped:
        return AIConnection::unknown;
    case Kind::starting:
        return AIConnection::checking;
    case Kind::ready:
        return AIConnection::online;
    case Kind::failed:
        break;
    }
    return AIConnection::offline;
}

QString systemVoiceTitle(VoiceEngine engine) {
    return engine == VoiceEngine::neural ? QStringLiteral("Voz do macOS (reserva)")
                                         : QStringLiteral("Voz");
}

QString compactVoicesHint() {
    return QStringLiteral("Só vozes compactas instaladas — baixe a Luciana Aprimorada para uma "
                          "fala bem mais natural");
}

std::optional<QString> systemVoiceDetail(const std::vector<SystemVoice::Voice>& voices) {
    for (const auto& v : voices)
        if (v.quality != SystemVoice::Quality::compact) return std::nullopt;
    return compactVoicesHint();
}

QString qualityLabel(SystemVoice::Quality quality) {
    switch (quality) {
    case SystemVoice::Quality::premium:
        return QStringLiteral("Premium");
    case SystemVoice::Quality::enhanced:
        return QStringLiteral("Aprimorada");
    case SystemVoice::Quality::compact:
        break;
    }
    return QStringLiteral("Compacta");
}

std::vector<VoiceItem> systemVoiceItems(const std::vector<SystemVoice::Voice>& voices) {
    std::vector<VoiceItem> items{{QStringLiteral("Automática (melhor disponível)"), QString()}};
    for (const auto& v : voices)
        items.push_back({v.name + QStringLiteral(" · ") + qualityLabel(v.quality), v.identifier});
    return items;
}

QString sampleSentence() {
    return QStringLiteral("Oi! Você tem dois e-mails novos. O Olvandro aprovou a proposta e pediu "
                          "o contrato até amanhã. Quer que eu responda?");
}

int rateStep(double rate) {
    const double clamped = std::clamp(rate, kMinimumRate, kMaximumRate);
    return int(std::lround((clamped - kMinimumRate) / kRateStep));
}

double rateAt(int step) {
    const int last = rateStep(kMaximumRate);
    return std::round((kMinimumRate + std::clamp(step, 0, last) * kRateStep) * 100) / 100;
}

bool warmIfNeeded(const AppSettings& settings, TTSServer& server) {
    if (settings.voiceEngine() != VoiceEngine::neural) return false;
    const NeuralVoice voice = settings.neuralVoice();
    if (server.warmed().contains(voice)) return false;
    server.warm(voice);
    return true;
}

} // namespace nolvea::VoiceCardModel
