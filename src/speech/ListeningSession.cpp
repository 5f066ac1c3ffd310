#include "speech/ListeningSession.h"

#include "audio/AudioRecorder.h"
#include "audio/AudioRecorderError.h"
#include "speech/LiveTranscriber.h"

#include <QPointer>

namespace nolvea {

ListeningSession::ListeningSession(std::unique_ptr<AudioRecorder> recorder,
                                   std::unique_ptr<LiveTranscriber> transcriber, QObject* parent)
    : QObject(parent)
    , m_recorder(std::move(recorder))
    , m_transcriber(std::move(transcriber)) {
    // Runs on the audio thread: only a copy of the buffer goes into the open transcription,
    // and the transcriber drops it when none is open.
    m_recorder->onBuffer = [transcriber = m_transcriber](const AudioBuffer& buffer) {
        transcriber->feed(buffer);
    };
    m_recorder->onLevel = [this, last = m_lastLevel](float level) {
        last->store(level);
        QMetaObject::invokeMethod(
            this,
            [this, level] {
                if (onLevel) onLevel(level);
            },
            Qt::QueuedConnection);
    };
    QPointer<ListeningSession> self(this);
    m_transcriber->onPartial = [self](const QString& text) {
        if (self && self->onPartial) self->onPartial(text);
    };
    m_transcriber->onStatus = [self](const QString& text) {
        if (self && self->onStatus) self->onStatus(text);
    };
}

ListeningSession::~ListeningSession() {
    // The audio thread must be done with us before anything goes.
    m_recorder->stop();
    m_recorder->onBuffer = nullptr;
    m_recorder->onLevel = nullptr;
    m_transcriber->cancel();
    m_transcriber->onPartial = nullptr;
    m_transcriber->onStatus = nullptr;
}

std::optional<AudioRecorderError> ListeningSession::missingInput() const {
    if (m_recorder->isRecording() || m_recorder->hasInput()) return std::nullopt;
    return AudioRecorderError(AudioRecorderError::Code::noInput);
}

void ListeningSession::start(const QString& localeID, const QStringList& vocabulary) {
    m_transcriber->begin(localeID, vocabulary);
    try {
        m_recorder->start();
    } catch (...) {
        m_transcriber->cancel();
        throw;
    }
    m_lastLevel->store(0);
}

void ListeningSession::stop() {
    if (m_recorder->isRecording()) m_recorder->stop();
}

void ListeningSession::cancel() {
    stop();
    m_transcriber->cancel();
}

QCoro::Task<QString> ListeningSession::finish() {
    return m_transcriber->finish();
}

bool ListeningSession::isRecording() const {
    return m_recorder->isRecording();
}

} // namespace nolvea
