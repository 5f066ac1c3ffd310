#pragma once

#include "platform/AudioBuffer.h"

#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <mutex>

namespace nolvea {

class SpeechEngine;

// Turns the audio of one listening period into text on this machine. `begin` opens a
// transcription that runs on a thread of its own; `feed` queues audio from any thread;
// `finish` closes the input and yields the whole transcript; `cancel` abandons it.
class LiveTranscriber {
public:
    // Without an engine, the installed `SpeechEngine` is used.
    explicit LiveTranscriber(std::shared_ptr<SpeechEngine> engine = nullptr);
    ~LiveTranscriber();

    LiveTranscriber(const LiveTranscriber&) = delete;
    LiveTranscriber& operator=(const LiveTranscriber&) = delete;

    // Main thread. The text so far: final results and the current guess.
    std::function<void(const QString&)> onPartial;
    // Main thread. A status line ("Baixando modelo de voz…").
    std::function<void(const QString&)> onStatus;

    // Main thread. Cancels a running transcription and opens a new one.
    void begin(const QString& localeID, const QStringList& vocabulary);
    // Any thread. Queues a copy of the buffer for the open transcription; false (dropped)
    // when none is open.
    bool feed(const AudioBuffer& buffer);
    // Main thread. Ends the input and returns the final transcript, trimmed ("" when no
    // transcription was open). Throws the transcription's failure.
    QCoro::Task<QString> finish();
    // Main thread. Abandons the transcription without waiting for it.
    void cancel();

    bool isOpen() const;

    // Two pieces of text, with one blank between them unless either side already has one.
    static QString join(const QString& a, const QString& b);

private:
    struct Stream;
    struct Session;

    using Callback = std::function<void(const QString&)>;

    // The whole transcription, on its own thread: returns the final transcript.
    static QString run(SpeechEngine& engine, Stream& raw, const QString& localeID,
                       const QStringList& vocabulary, const Callback& onPartial,
                       const Callback& onStatus);
    void closeInput(bool cancelled);

    std::shared_ptr<SpeechEngine> m_engine;
    // Guards `m_input` between the audio thread (feed) and the main thread.
    mutable std::mutex m_inputMutex;
    std::shared_ptr<Stream> m_input;
    std::shared_ptr<Session> m_session;
};

} // namespace nolvea
