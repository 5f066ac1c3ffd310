#include "speech/NeuralVoiceRequest.h"

namespace nolvea {

namespace {
const QString kKokoro = QStringLiteral("mlx-community/Kokoro-82M-bf16");
const QString kVoxtral = QStringLiteral("mlx-community/Voxtral-4B-TTS-2603-mlx-4bit");
} // namespace

QList<QPair<QString, QString>> NeuralVoiceRequest::fields(NeuralVoice voice) {
    using F = QList<QPair<QString, QString>>;
    const QString model = QStringLiteral("model"), v = QStringLiteral("voice"),
                  lang = QStringLiteral("lang_code");
    switch (voice) {
    case NeuralVoice::kokoroAlex:
        return F{{model, kKokoro}, {v, QStringLiteral("pm_alex")}, {lang, QStringLiteral("p")}};
    case NeuralVoice::kokoroDora:
        return F{{model, kKokoro}, {v, QStringLiteral("pf_dora")}, {lang, QStringLiteral("p")}};
    case NeuralVoice::voxtralMale:
        return F{{model, kVoxtral}, {v, QStringLiteral("pt_male")}};
    case NeuralVoice::voxtralFemale:
        return F{{model, kVoxtral}, {v, QStringLiteral("pt_female")}};
    case NeuralVoice::qwenJarvis:
        return F{{model, QStringLiteral("mlx-community/Qwen3-TTS-12Hz-1.7B-VoiceDesign-8bit")},
                 {lang, QStringLiteral("portuguese")},
                 {QStringLiteral("instruct"),
                  QStringLiteral("Voz masculina adulta, grave e calma, dicção clara e precisa, tom "
                                 "formal, educado e levemente espirituoso, como um mordomo "
                                 "sofisticado que virou assistente de inteligência artificial. "
                                 "Fala em português do Brasil.")}};
    }
    return {};
}

QString NeuralVoiceRequest::label(NeuralVoice voice) {
    switch (voice) {
    case NeuralVoice::kokoroAlex:
        return QStringLiteral("Alex · Kokoro (masculina)");
    case NeuralVoice::kokoroDora:
        return QStringLiteral("Dora · Kokoro (feminina)");
    case NeuralVoice::voxtralMale:
        return QStringLiteral("Voxtral masculina");
    case NeuralVoice::voxtralFemale:
        return QStringLiteral("Voxtral feminina");
    case NeuralVoice::qwenJarvis:
        return QStringLiteral("Mordomo · Qwen3 (estilo JARVIS)");
    }
    return {};
}

bool NeuralVoiceRequest::takesSpeed(NeuralVoice voice) {
    return voice == NeuralVoice::kokoroAlex || voice == NeuralVoice::kokoroDora;
}

} // namespace nolvea
