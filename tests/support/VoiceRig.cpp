#include "support/VoiceRig.h"

#include "audio/AudioRecorder.h"
#include "core/AppSettings.h"
#include "platform/linux/FileAudioInput.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "platform/linux/QtAudioPlayer.h"
#include "speech/LiveTranscriber.h"
#include "support/Async.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace nolvea::test {

namespace {

std::shared_ptr<PocketsphinxEngine> sharedEngine() {
    static auto engine = std::make_shared<PocketsphinxEngine>();
    return engine;
}

QByteArray chatReply(const QString& content) {
    QJsonObject message{{QStringLiteral("role"), QStringLiteral("assistant")},
                        {QStringLiteral("content"), content}};
    QJsonObject choice{{QStringLiteral("message"), message}};
    return QJsonDocument(QJsonObject{{QStringLiteral("choices"), QJsonArray{choice}}})
        .toJson(QJsonDocument::Compact);
}

// The last user message of a chat request.
QString lastUserText(const QByteArray& body) {
    const auto messages =
        QJsonDocument::fromJson(body).object()[QStringLiteral("messages")].toArray();
    for (qsizetype i = messages.size() - 1; i >= 0; --i) {
        const QJsonObject m = messages[i].toObject();
        if (m[QStringLiteral("role")].toString() == QStringLiteral("user"))
            return m[QStringLiteral("content")].toString();
    }
    return {};
}

} // namespace

VoiceRig::VoiceRig(const QString& recording, std::shared_ptr<SpeechEngine> engine,
                   std::function<void(VoiceController::Services&)> adjust) {
    Clock::install(&m_clock);
    AppSettings& s = AppSettings::shared();
    s.setAiProvider(AIProvider::lmStudio);
    s.setServerURL(m_model.url());
    s.setModel(QStringLiteral("m"));
    s.setAiCleanupEnabled(true);
    s.setAgentEnabled(true);
    s.setSpeakAnswers(false);
    s.setPlaySounds(false);
    s.setLocaleID(QStringLiteral("en-US"));
    s.setVocabulary({});
    s.setFollowUpMode(FollowUpMode::whenAsked);
    s.setVoiceEngine(VoiceEngine::neural);

    m_model.setHandler([this](const HttpRequest& r) {
        if (isWarmup(r)) return HttpResponse::json(chatReply(QStringLiteral("ok")));
        {
            std::lock_guard lock(m_repliesMutex);
            if (!m_replies.empty()) {
                HttpResponse next = std::move(m_replies.front());
                m_replies.pop_front();
                return next;
            }
        }
        const QString user = lastUserText(r.body);
        for (auto it = m_cleanups.begin(); it != m_cleanups.end(); ++it)
            if (user.contains(it.key())) {
                HttpResponse response = HttpResponse::json(chatReply(it.value().first));
                response.delayMs = it.value().second;
                return response;
            }
        return HttpResponse::json(chatReply(QStringLiteral("ok")));
    });

    TTSServer::Options o;
    o.port = m_speech.port();
    m_tts = std::make_unique<TTSServer>(o);
    m_speaker =
        std::make_unique<Speaker>(nullptr, std::make_unique<QtAudioPlayer>(), m_tts.get(), &s);

    auto input = std::make_unique<FileAudioInput>(recording, FileAudioInput::Pace::immediate);
    m_input = input.get();
    VoiceController::Services services = VoiceController::Services::installed();
    services.captureContext = [this] { return context; };
    services.insertText = [this](QString text) -> QCoro::Task<> {
        pasted << text;
        co_return;
    };
    if (adjust) adjust(services);
    m_controller = std::make_unique<VoiceController>(
        m_state, s, std::make_unique<AudioRecorder>(std::move(input)),
        std::make_unique<LiveTranscriber>(engine ? std::move(engine) : sharedEngine()), *m_speaker,
        std::move(services));
}

VoiceRig::~VoiceRig() {
    m_controller.reset();
    m_speaker.reset();
    m_tts.reset();
    Clock::install(nullptr);
}

QStringList VoiceRig::cleanupRequests() const {
    QStringList out;
    for (const HttpRequest& r : m_model.requests()) {
        const QString user = lastUserText(r.body);
        for (auto it = m_cleanups.begin(); it != m_cleanups.end(); ++it)
            if (user.contains(it.key())) out << it.key();
    }
    return out;
}

void VoiceRig::answerCleanup(const QString& transcript, const QString& cleaned, int delayMs) {
    m_cleanups.insert(transcript, {cleaned, delayMs});
}

void VoiceRig::enqueueReply(HttpResponse response) {
    std::lock_guard lock(m_repliesMutex);
    m_replies.push_back(std::move(response));
}

bool VoiceRig::isWarmup(const HttpRequest& request) {
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    return body[QStringLiteral("max_completion_tokens")].toInt() == 1 ||
           body[QStringLiteral("max_tokens")].toInt() == 1;
}

void VoiceRig::holdAndSpeak() {
    m_controller->triggerDown();
    spinUntil([&] { return m_input->isDrained(); });
    advance(500);
    m_controller->triggerUp();
}

bool VoiceRig::waitForStage(AppState::Stage stage, int ms) {
    return spinUntil([&] { return m_state.stage() == stage; }, ms);
}

void VoiceRig::advance(int ms) {
    m_clock.advance(Clock::Duration(ms));
}

} // namespace nolvea::test
