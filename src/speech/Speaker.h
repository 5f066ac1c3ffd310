#pragma once

#include "platform/SystemVoice.h"

#include <QObject>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>

namespace nolvea {

class AppSettings;
class AudioPlayer;
class TTSServer;
template <typename T> class Promise;

// Speaks answers with the engine the settings choose: the system voice, or the neural speech
// server sentence by sentence (the next sentence is made while one plays), falling back to
// the system voice when the server cannot speak. Main thread.
class Speaker : public QObject {
    Q_OBJECT

public:
    // Null parts are taken from the installed platform and the shared server and settings.
    Speaker(std::shared_ptr<SystemVoice> voice, std::unique_ptr<AudioPlayer> player,
            TTSServer* server, AppSettings* settings, QObject* parent = nullptr);
    ~Speaker() override;

    static Speaker& shared();
    // The installed system voices of the speech locale `localeID`, best first.
    static std::vector<SystemVoice::Voice> voices(const QString& localeID);

    // Speaks `text` (an answer already cleaned for display), ending any speech under way.
    // `completion` runs once, on the main thread, after the speech ends or is stopped.
    void speak(const QString& text, std::function<void()> completion);
    // Ends any speech at once.
    void stop();
    // The system voice speaks or a neural playback is under way.
    bool isSpeaking() const;

Q_SIGNALS:
    void speakingChanged();
    // Nothing is spoken, no completion waits to run and no stopped answer has work left (a
    // sentence still being made): nothing more happens until the next `speak`.
    void idle();

private:
    QCoro::Task<> speakNeural(quint64 run, QStringList sentences);
    QCoro::Task<> speakSentences(quint64 run, QStringList sentences);
    // Runs `done` from the event loop, then tells whether the speaker is idle.
    void completeLater(std::function<void()> done);
    void checkIdle();
    void speakSystem(quint64 run, const QString& text);
    void complete(quint64 run);
    // `stop` without telling of idleness: `speak` goes on with new work.
    void halt();

    std::shared_ptr<SystemVoice> m_voice;
    std::unique_ptr<AudioPlayer> m_player;
    TTSServer* m_server;
    AppSettings* m_settings;
    quint64 m_run = 0; // each speak or stop starts a new run; older work checks it and leaves
    bool m_neural = false;
    std::function<void()> m_completion;
    std::unique_ptr<Promise<void>> m_playback; // the sentence now playing
    int m_neuralTasks = 0;                     // neural runs not yet left, stopped ones too
    int m_pendingCompletions = 0;
};

} // namespace nolvea
