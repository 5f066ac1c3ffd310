#include "speech/LiveTranscriber.h"

#include "platform/Platform.h"
#include "platform/SpeechEngine.h"
#include "speech/BufferConverter.h"
#include "speech/TranscriberError.h"
#include "support/Error.h"
#include "support/Promise.h"

#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <thread>

namespace nolvea {

// The raw audio of one transcription: written by feed, read by its thread.
struct LiveTranscriber::Stream {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<AudioBuffer> buffers;
    bool closed = false;
    bool cancelled = false;

    bool push(AudioBuffer buffer) {
        {
            std::lock_guard lock(mutex);
            if (closed) return false;
            buffers.push_back(std::move(buffer));
        }
        ready.notify_one();
        return true;
    }

    void close(bool cancel) {
        {
            std::lock_guard lock(mutex);
            closed = true;
            cancelled = cancelled || cancel;
        }
        ready.notify_one();
    }

    // The next buffer, or nothing once the stream is closed and empty (or cancelled).
    std::optional<AudioBuffer> pop() {
        std::unique_lock lock(mutex);
        ready.wait(lock, [&] { return closed || !buffers.empty(); });
        if (cancelled || buffers.empty()) return std::nullopt;
        AudioBuffer b = std::move(buffers.front());
        buffers.pop_front();
        return b;
    }

    bool isCancelled() {
        std::lock_guard lock(mutex);
        return cancelled;
    }
};

// The result of one transcription, settled on the main thread.
struct LiveTranscriber::Session {
    Promise<QString> result;
};

namespace {

// Runs `fn` on the main thread, in order with everything posted before.
void post(std::function<void()> fn) {
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

} // namespace

LiveTranscriber::LiveTranscriber(std::shared_ptr<SpeechEngine> engine)
    : m_engine(engine ? std::move(engine) : Platform::find<SpeechEngine>()) {}

LiveTranscriber::~LiveTranscriber() {
    cancel();
}

bool LiveTranscriber::isOpen() const {
    std::lock_guard lock(m_inputMutex);
    return bool(m_input);
}

void LiveTranscriber::begin(const QString& localeID, const QStringList& vocabulary) {
    cancel();
    auto stream = std::make_shared<Stream>();
    auto session = std::make_shared<Session>();
    {
        std::lock_guard lock(m_inputMutex);
        m_input = stream;
    }
    m_session = session;

    std::thread([engine = m_engine, stream, session, localeID, vocabulary, onPartial = onPartial,
                 onStatus = onStatus] {
        QString text;
        std::exception_ptr error;
        try {
            if (!engine) throw TranscriberError::unsupportedLocale(localeID);
            text = run(*engine, *stream, localeID, vocabulary, onPartial, onStatus);
        } catch (...) {
            error = std::current_exception();
        }
        // Drain what is left so no buffer outlives the run.
        stream->close(true);
        post([session, text, error] {
            if (error)
                session->result.reject(error);
            else
                session->result.resolve(text);
        });
    }).detach();
}

bool LiveTranscriber::feed(const AudioBuffer& buffer) {
    std::lock_guard lock(m_inputMutex);
    if (!m_input) return false;
    return m_input->push(buffer.deepCopy());
}

void LiveTranscriber::closeInput(bool cancelled) {
    std::shared_ptr<Stream> input;
    {
        std::lock_guard lock(m_inputMutex);
        input = std::exchange(m_input, nullptr);
    }
    if (input) input->close(cancelled);
}

QCoro::Task<QString> LiveTranscriber::finish() {
    closeInput(false);
    auto session = std::exchange(m_session, nullptr);
    if (!session) co_return QString();
    co_return co_await session->result;
}

void LiveTranscriber::cancel() {
    closeInput(true);
    m_session.reset();
}

QString LiveTranscriber::join(const QString& a, const QString& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    if (a.back().isSpace() || b.front().isSpace()) return a + b;
    return a + QLatin1Char(' ') + b;
}

QString LiveTranscriber::run(SpeechEngine& engine, Stream& raw, const QString& localeID,
                             const QStringList& vocabulary, const Callback& onPartial,
                             const Callback& onStatus) {
    const auto locale = engine.supportedLocale(localeID);
    if (!locale) throw TranscriberError::unsupportedLocale(localeID);

    if (!engine.isInstalled(*locale)) {
        if (onStatus) post([onStatus] { onStatus(QStringLiteral("Baixando modelo de voz…")); });
        engine.install(*locale);
    }

    auto recognizer = engine.open(*locale);
    const AudioFormat format = recognizer ? recognizer->format() : AudioFormat{};
    if (!format.isValid()) throw TranscriberError::noAudioFormat();
    if (!vocabulary.isEmpty()) recognizer->setVocabulary(vocabulary); // best effort
    recognizer->start();

    QString final;
    QString shown;
    std::vector<SpeechResult> results;
    auto deliver = [&] {
        for (const SpeechResult& r : results) {
            QString live;
            if (r.isFinal) {
                final = join(final, r.text);
                live = final;
            } else {
                live = join(final, r.text);
            }
            if (onPartial && live != shown) {
                shown = live;
                post([onPartial, live] { onPartial(live); });
            }
        }
        results.clear();
    };

    BufferConverter converter(format);
    while (auto buffer = raw.pop()) {
        if (auto converted = converter.convert(*buffer)) {
            recognizer->process(*converted, results);
            deliver();
        }
    }
    if (raw.isCancelled()) return {};
    recognizer->finish(results);
    deliver();
    return final.trimmed();
}

} // namespace nolvea
