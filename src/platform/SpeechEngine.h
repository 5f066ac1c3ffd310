#pragma once

#include "platform/SpeechRecognizer.h"

#include <QString>

#include <memory>
#include <optional>

namespace nolvea {

// On-device speech recognition: which languages it has models for, and recognizers.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;

    // The engine's own identifier of the locale equivalent to `localeID`, or nothing.
    virtual std::optional<QString> supportedLocale(const QString& localeID) = 0;
    // Whether the model of a supported locale is on this machine.
    virtual bool isInstalled(const QString& locale) { return true; }
    // Fetches and installs that model. Throws `SpeechEngineError`.
    virtual void install(const QString& locale) {}
    // A recognizer for a supported, installed locale. Throws `SpeechEngineError`.
    virtual std::unique_ptr<SpeechRecognizer> open(const QString& locale) = 0;
};

} // namespace nolvea
