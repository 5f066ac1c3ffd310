#include "platform/linux/SpeechEngineChoice.h"

#include "platform/SpeechEngineError.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "platform/linux/WhisperEngine.h"

namespace nolvea {

namespace {

constexpr QLatin1Char kSeparator(':');

} // namespace

SpeechEngineChoice::SpeechEngineChoice(std::vector<Option> options)
    : m_options(std::move(options)) {}

std::shared_ptr<SpeechEngineChoice>
SpeechEngineChoice::standard(const QString& whisperModels, const QStringList& pocketsphinxRoots) {
    return std::make_shared<SpeechEngineChoice>(std::vector<Option>{
        {QStringLiteral("whisper"), std::make_shared<WhisperEngine>(whisperModels)},
        {QStringLiteral("pocketsphinx"), std::make_shared<PocketsphinxEngine>(pocketsphinxRoots)},
    });
}

std::optional<QString> SpeechEngineChoice::supportedLocale(const QString& localeID) {
    for (const Option& o : m_options)
        if (const auto locale = o.engine->supportedLocale(localeID))
            return o.name + kSeparator + *locale;
    return std::nullopt;
}

QString SpeechEngineChoice::engineFor(const QString& localeID) {
    const auto locale = supportedLocale(localeID);
    return locale ? locale->section(kSeparator, 0, 0) : QString();
}

std::shared_ptr<SpeechEngine> SpeechEngineChoice::engine(const QString& name) const {
    for (const Option& o : m_options)
        if (o.name == name) return o.engine;
    return nullptr;
}

std::pair<const SpeechEngineChoice::Option*, QString>
SpeechEngineChoice::route(const QString& locale) const {
    const QString name = locale.section(kSeparator, 0, 0);
    for (const Option& o : m_options)
        if (o.name == name) return {&o, locale.section(kSeparator, 1)};
    return {nullptr, {}};
}

bool SpeechEngineChoice::isInstalled(const QString& locale) {
    const auto [option, own] = route(locale);
    return !option || option->engine->isInstalled(own);
}

void SpeechEngineChoice::install(const QString& locale) {
    const auto [option, own] = route(locale);
    if (option) option->engine->install(own);
}

std::unique_ptr<SpeechRecognizer> SpeechEngineChoice::open(const QString& locale) {
    const auto [option, own] = route(locale);
    if (!option)
        throw SpeechEngineError(QStringLiteral("Modelo de voz não encontrado para ") + locale +
                                QLatin1Char('.'));
    return option->engine->open(own);
}

} // namespace nolvea
