#pragma once

#include <QObject>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace nolvea {

class AudioRecorder;
class AudioRecorderError;
class LiveTranscriber;

// The microphone and the transcription of one listening at a time: the recorder's buffers go
// to the transcriber on the audio thread, its levels and the transcriber's texts reach the
// owner on the main thread.
class ListeningSession : public QObject {
    Q_OBJECT

public:
    ListeningSession(std::unique_ptr<AudioRecorder> recorder,
                     std::unique_ptr<LiveTranscriber> transcriber, QObject* parent = nullptr);
    ~ListeningSession() override;

    // Main thread, each: a level (0 to 1), the text heard so far, a status line.
    std::function<void(float)> onLevel;
    std::function<void(const QString&)> onPartial;
    std::function<void(const QString&)> onStatus;

    // Why listening cannot start at all: there is no input device.
    std::optional<AudioRecorderError> missingInput() const;
    // Opens a transcription and starts the microphone. Throws the recorder's error, with the
    // transcription cancelled.
    void start(const QString& localeID, const QStringList& vocabulary);
    // Ends recording; the transcription stays open for `finish`.
    void stop();
    // Ends recording and drops the transcription.
    void cancel();
    // The whole transcript of the recording stopped.
    QCoro::Task<QString> finish();

    bool isRecording() const;
    // The latest level heard (any thread wrote it).
    float lastLevel() const { return m_lastLevel->load(); }

private:
    std::unique_ptr<AudioRecorder> m_recorder;
    std::shared_ptr<LiveTranscriber> m_transcriber; // the audio thread holds it too
    std::shared_ptr<std::atomic<float>> m_lastLevel = std::make_shared<std::atomic<float>>(0);
};

} // namespace nolvea
