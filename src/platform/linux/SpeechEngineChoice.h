#pragma once

#include "platform/SpeechEngine.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace nolvea {

// Picks, for each locale, the first engine that has a model for it: whisper when a model is
// in its folder, then pocketsphinx (whose only packaged model is English). The locale it
// reports names the engine, so that `open` goes back to the same one.
class SpeechEngineChoice final : public SpeechEngine {
public:
    struct Option {
        QString name;
        std::shared_ptr<SpeechEngine> engine;
    };

    explicit SpeechEngineChoice(std::vector<Option> options);

    // Whisper with the models of `whisperModels`, then pocketsphinx with those of
    // `pocketsphinxRoots`.
    static std::shared_ptr<SpeechEngineChoice> standard(const QString& whisperModels,
                                                        const QStringList& pocketsphinxRoots);

    std::optional<QString> supportedLocale(const QString& localeID) override;
    bool isInstalled(const QString& locale) override;
    void install(const QString& locale) override;
    std::unique_ptr<SpeechRecognizer> open(const QString& locale) override;

    // The name of the engine that would transcribe `localeID`, or empty.
    QString engineFor(const QString& localeID);
    // The engine of that name, or nothing.
    std::shared_ptr<SpeechEngine> engine(const QString& name) const;

private:
    // The option and its own locale behind one of our locales.
    std::pair<const Option*, QString> route(const QString& locale) const;

    std::vector<Option> m_options;
};

} // namespace nolvea
