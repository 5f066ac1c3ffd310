#include "ui/settings/TranscriptionModel.h"

#include "platform/Platform.h"
#include "platform/SpeechEngine.h"

namespace nolvea::TranscriptionModel {

namespace {

std::optional<QString> name(Engine engine) {
    switch (engine) {
    case Engine::whisper:
        return QStringLiteral("whisper.cpp");
    case Engine::pocketsphinx:
        return QStringLiteral("pocketsphinx");
    case Engine::other:
    case Engine::none:
        break;
    }
    return std::nullopt;
}

} // namespace

Engine engine(const std::optional<QString>& engineLocale) {
    if (!engineLocale) return Engine::none;
    const QString prefix = engineLocale->section(u':', 0, 0);
    if (prefix == QLatin1String("whisper")) return Engine::whisper;
    if (prefix == QLatin1String("pocketsphinx")) return Engine::pocketsphinx;
    return Engine::other;
}

Engine engineFor(const QString& localeID) {
    const auto installed = Platform::find<SpeechEngine>();
    return engine(installed ? installed->supportedLocale(localeID) : std::nullopt);
}

QString languageDetail(Engine engine) {
    if (engine == Engine::none)
        return QStringLiteral("Transcrição local: sem modelo de voz para este idioma");
    if (const auto n = name(engine)) return QStringLiteral("Transcrição local (") + *n + u')';
    return QStringLiteral("Transcrição local");
}

QString aboutLine(Engine engine) {
    if (engine == Engine::none)
        return QStringLiteral("Transcrição: sem modelo de voz para o idioma da fala");
    if (const auto n = name(engine))
        return QStringLiteral("Transcrição: ") + *n + QStringLiteral(" (no aparelho)");
    return QStringLiteral("Transcrição: no aparelho");
}

} // namespace nolvea::TranscriptionModel
