#pragma once

#include "platform/SpeechEngine.h"
#include "platform/SpeechEngineError.h"

#include <atomic>

namespace nolvea::test {

// A speech engine that hears one fixed sentence once the input ends, or hands recognising to
// a real engine; its models can stand as not yet on the machine, their download failing
// when the test says so.
class FakeSpeechEngine final : public SpeechEngine {
public:
    explicit FakeSpeechEngine(QString sentence)
        : m_sentence(std::move(sentence)) {}
    explicit FakeSpeechEngine(std::shared_ptr<SpeechEngine> real, QString realLocale)
        : m_real(std::move(real))
        , m_realLocale(std::move(realLocale)) {}

    std::optional<QString> supportedLocale(const QString& id) override { return id; }
    bool isInstalled(const QString&) override { return installed; }
    void install(const QString&) override {
        ++installs;
        if (failInstall) throw SpeechEngineError(QStringLiteral("sem rede"));
    }
    std::unique_ptr<SpeechRecognizer> open(const QString&) override {
        if (m_real) return m_real->open(m_realLocale);
        return std::make_unique<Recognizer>(m_sentence);
    }

    bool installed = true;
    bool failInstall = false;
    std::atomic<int> installs{0};

private:
    class Recognizer final : public SpeechRecognizer {
    public:
        explicit Recognizer(QString sentence)
            : m_sentence(std::move(sentence)) {}
        AudioFormat format() const override { return {16000, 1, AudioFormat::Sample::int16}; }
        bool setVocabulary(const QStringList&) override { return false; }
        void start() override {}
        void process(const AudioBuffer&, std::vector<SpeechResult>&) override {}
        void finish(std::vector<SpeechResult>& results) override {
            results.push_back({m_sentence, true});
        }

    private:
        QString m_sentence;
    };

    QString m_sentence;
    std::shared_ptr<SpeechEngine> m_real;
    QString m_realLocale;
};

} // namespace nolvea::test
