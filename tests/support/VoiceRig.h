#pragma once

#include "core/AppState.h"
#include "speech/Speaker.h"
#include "speech/TTSServer.h"
#include "speech/VoiceController.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/fakes/ManualClock.h"

#include <QStringList>

#include <deque>
#include <memory>
#include <mutex>

namespace nolvea {
class FileAudioInput;
class SpeechEngine;
} // namespace nolvea

namespace nolvea::test {

// A voice controller over the real recorder (fed from a recording), the real transcriber,
// a scripted model and speech server on loopback, and a desktop that records what it is
// asked: the screen context handed out and every paste.
class VoiceRig {
public:
    // `recording`: a raw 16 kHz mono 16-bit file the "microphone" hears at each listening;
    // `engine`: the speech engine (pocketsphinx when null); `adjust` changes the controller's
    // services before it is made.
    explicit VoiceRig(const QString& recording, std::shared_ptr<SpeechEngine> engine = nullptr,
                      std::function<void(VoiceController::Services&)> adjust = {});
    ~VoiceRig();

    VoiceController& controller() { return *m_controller; }
    AppState& state() { return m_state; }
    ManualClock& clock() { return m_clock; }
    LoopbackServer& model() { return m_model; }
    LoopbackServer& speech() { return m_speech; }
    Speaker& speaker() { return *m_speaker; }
    FileAudioInput& input() { return *m_input; }

    ScreenContext context;
    QStringList pasted;
    // The transcripts the model was asked to clean up.
    QStringList cleanupRequests() const;
    // The cleaned text the model answers with, per transcript.
    void answerCleanup(const QString& transcript, const QString& cleaned, int delayMs = 0);
    // Queues the model's answer to the next request that is not a warm-up: the warm-ups of a
    // local model may come in between and must not take it.
    void enqueueReply(HttpResponse response);
    // A warm-up request (a one-token answer asked for).
    static bool isWarmup(const HttpRequest& request);

    // Holds the key while the whole recording is heard, then lets it go.
    void holdAndSpeak();
    // Waits (real time) until the stage is `stage`.
    // Transcription is slow on a busy machine: the wait is long.
    bool waitForStage(AppState::Stage stage, int ms = 60000);
    void advance(int ms);

private:
    ManualClock m_clock;
    AppState m_state;
    LoopbackServer m_model;
    LoopbackServer m_speech;
    std::unique_ptr<TTSServer> m_tts;
    std::unique_ptr<Speaker> m_speaker;
    FileAudioInput* m_input = nullptr; // owned by the controller's recorder
    std::unique_ptr<VoiceController> m_controller;
    QMap<QString, QPair<QString, int>> m_cleanups;
    std::mutex m_repliesMutex; // the queue is read on the server's thread
    std::deque<HttpResponse> m_replies;
};

} // namespace nolvea::test
