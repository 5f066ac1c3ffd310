#pragma once

#include "platform/SpeechEngine.h"
#include "support/Clock.h"

#include <QString>

#include <chrono>
#include <memory>

namespace nolvea {

// Speech recognition with whisper.cpp, from the ggml models in one folder (`<data>/whisper`).
// A multilingual model serves every language whisper knows; an English-only one (".en")
// only English. A model is loaded on first use, kept while used, and freed after a minute
// without use. Partial text comes from decoding the audio heard so far every so often, on
// the thread that feeds the recognizer; the final text from the whole recording.
class WhisperEngine final : public SpeechEngine {
public:
    struct Options {
        // The least audio, and the least time, between two partial decodes.
        Clock::Duration partialInterval{750};
        // Unused models are freed after this.
        Clock::Duration idlePeriod{60'000};
        // 0: half this machine's cores, at most four, fewer when it is busy.
        int threads = 0;
    };

    explicit WhisperEngine(QString modelFolder);
    WhisperEngine(QString modelFolder, Options options);
    ~WhisperEngine() override;

    std::optional<QString> supportedLocale(const QString& localeID) override;
    std::unique_ptr<SpeechRecognizer> open(const QString& locale) override;

    // The model file that would serve `localeID`, or empty.
    QString modelFor(const QString& localeID) const;
    // Whether a model is in memory now.
    bool isLoaded() const;

    struct Cache;

private:
    QString m_folder;
    Options m_options;
    std::shared_ptr<Cache> m_cache;
};

} // namespace nolvea
