#pragma once

#include "platform/SpeechEngine.h"

#include <QStringList>

#include <memory>

namespace nolvea {

// Speech recognition with pocketsphinx. Each locale is a model folder named after it
// ("en-us": acoustic model folder, language model, dictionary), looked up in each model root in
// turn. Decoders are slow to load, so they are kept and reused.
class PocketsphinxEngine final : public SpeechEngine {
public:
    // The system's own models.
    static QString systemModels() { return QStringLiteral("/usr/share/pocketsphinx/model"); }

    explicit PocketsphinxEngine(QStringList modelRoots = {systemModels()});
    ~PocketsphinxEngine() override;

    std::optional<QString> supportedLocale(const QString& localeID) override;
    std::unique_ptr<SpeechRecognizer> open(const QString& locale) override;

    // Loads the decoder of a locale ahead of its first use.
    void preload(const QString& locale);

    struct Pool;

private:
    QString modelFolder(const QString& locale) const;

    QStringList m_roots;
    std::shared_ptr<Pool> m_pool;
};

} // namespace nolvea
