#include "speech/Speaker.h"

#include "core/AppSettings.h"
#include "platform/AudioPlayerFactory.h"
#include "platform/Platform.h"
#include "platform/SystemVoice.h"
#include "speech/SpeechText.h"
#include "speech/TTSServer.h"
#include "support/Promise.h"

#include <QPointer>
#include <QTimer>

#include <optional>

namespace nolvea {

namespace {
constexpr int kSentenceLength = 200;

std::unique_ptr<AudioPlayer> platformPlayer() {
    const auto factory = Platform::find<AudioPlayerFactory>();
    return factory ? factory->create() : nullptr;
}
} // namespace

Speaker::Speaker(std::shared_ptr<SystemVoice> voice, std::unique_ptr<AudioPlayer> player,
                 TTSServer* server, AppSettings* settings, QObject* parent)
    : QObject(parent)
    , m_voice(voice ? std::move(voice) : Platform::find<SystemVoice>())
    , m_player(player ? std::move(player) : platformPlayer())
    , m_server(server ? server : &TTSServer::shared())
    , m_settings(settings ? settings : &AppSettings::shared()) {}

Speaker::~Speaker() {
    ++m_run;
    if (m_playback) m_playback->resolve();
}

Speaker& Speaker::shared() {
    static auto* speaker = new Speaker(nullptr, nullptr, nullptr, nullptr);
    return *speaker;
}

std::vector<SystemVoice::Voice> Speaker::voices(const QString& localeID) {
    const auto voice = Platform::find<SystemVoice>();
    return voice ? voice->voices(localeID) : std::vector<SystemVoice::Voice>{};
}

bool Speaker::isSpeaking() const {
    return m_neural || (m_voice && m_voice->isSpeaking());
}

void Speaker::speak(const QString& text, std::function<void()> completion) {
    halt();
    const quint64 run = ++m_run;
    m_completion = std::move(completion);
    const QString prepared = SpeechText::prepare(text);
    if (prepared.isEmpty()) {
        complete(run);
        return;
    }
    if (m_settings->voiceEngine() == VoiceEngine::neural && m_player) {
        m_neural = true;
        Q_EMIT speakingChanged();
        speakNeural(run, SpeechText::sentences(prepared, kSentenceLength));
    } else {
        speakSystem(run, prepared);
    }
}

void Speaker::speakSystem(quint64 run, const QString& text) {
    if (!m_voice) {
        complete(run);
        return;
    }
    QPointer<Speaker> self(this);
    m_voice->speak(text, m_settings->voiceIdentifier(), m_settings->speechRate(), [self, run] {
        if (self) self->complete(run);
    });
    Q_EMIT speakingChanged();
}

QCoro::Task<> Speaker::speakNeural(quint64 run, QStringList sentences) {
    QPointer<Speaker> self(this);
    ++m_neuralTasks;
    co_await speakSentences(run, std::move(sentences));
    if (!self) co_return;
    --m_neuralTasks;
    checkIdle();
}

QCoro::Task<> Speaker::speakSentences(quint64 run, QStringList sentences) {
    QPointer<Speaker> self(this);
    const NeuralVoice voice = m_settings->neuralVoice();
    const double speed = m_settings->speechRate() > 0 ? m_settings->speechRate() : 1.0;
    const bool up = co_await m_server->ensureRunning();
    if (!self || run != m_run) co_return;
    if (!up) {
        speakSystem(run, sentences.join(QLatin1Char(' ')));
        co_return;
    }
    std::optional<QCoro::Task<QByteArray>> next =
        m_server->synthesize(sentences.value(0), voice, speed);
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        QByteArray wav;
        try {
            wav = co_await std::move(*next);
        } catch (...) {
            // The server failed mid-answer: the system voice says the rest.
            if (!self || run != m_run) co_return;
            m_neural = false;
            speakSystem(run, sentences.mid(i).join(QLatin1Char(' ')));
            co_return;
        }
        if (!self || run != m_run) co_return;
        next.reset();
        if (i + 1 < sentences.size()) next = m_server->synthesize(sentences[i + 1], voice, speed);
        m_playback = std::make_unique<Promise<>>();
        Promise<> played = *m_playback;
        if (m_player->play(wav, [played]() mutable { played.resolve(); })) co_await played;
        if (!self || run != m_run) co_return;
    }
    complete(run);
}

void Speaker::complete(quint64 run) {
    if (run != m_run) {
        checkIdle(); // the system voice stopped may be the last to end
        return;
    }
    m_neural = false;
    m_playback.reset();
    if (auto done = std::exchange(m_completion, nullptr)) completeLater(std::move(done));
    Q_EMIT speakingChanged();
    checkIdle();
}

void Speaker::completeLater(std::function<void()> done) {
    ++m_pendingCompletions;
    QTimer::singleShot(0, this, [this, done = std::move(done)] {
        QPointer<Speaker> self(this);
        done();
        if (!self) return;
        --m_pendingCompletions;
        checkIdle();
    });
}

void Speaker::checkIdle() {
    if (m_neuralTasks == 0 && m_pendingCompletions == 0 && !isSpeaking()) Q_EMIT idle();
}

void Speaker::stop() {
    halt();
    checkIdle();
}

void Speaker::halt() {
    const bool active = isSpeaking() || bool(m_completion);
    ++m_run; // work of the run being stopped sees this and leaves
    if (m_voice) m_voice->stop();
    if (m_player) m_player->stop();
    m_neural = false;
    if (auto playback = std::move(m_playback)) playback->resolve();
    if (auto done = std::exchange(m_completion, nullptr)) completeLater(std::move(done));
    if (active) Q_EMIT speakingChanged();
}

} // namespace nolvea
