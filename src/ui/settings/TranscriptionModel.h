#pragma once

#include <QString>

#include <optional>

namespace nolvea::TranscriptionModel {

// The on-device engine that would transcribe a language, told by the speech engine's own name
// for it ("whisper:pt-BR", absent when no engine has a model for the language).
enum class Engine { whisper, pocketsphinx, other, none };
Engine engine(const std::optional<QString>& engineLocale);
// The engine of the installed speech engine for the language `localeID`.
Engine engineFor(const QString& localeID);

// Under "Idioma da fala".
QString languageDetail(Engine engine);
// The first line of the about card.
QString aboutLine(Engine engine);

} // namespace nolvea::TranscriptionModel
