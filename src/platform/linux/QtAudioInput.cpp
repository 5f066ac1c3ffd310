#include "platform/linux/QtAudioInput.h"

#include "platform/AudioInputError.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QPointer>

namespace nolvea {

namespace {

QAudioFormat toQt(const AudioFormat& f) {
    QAudioFormat q;
    q.setSampleRate(f.sampleRate);
    q.setChannelCount(f.channels);
    q.setSampleFormat(f.sample == AudioFormat::Sample::int16 ? QAudioFormat::Int16
                                                             : QAudioFormat::Float);
    return q;
}

} // namespace

class QtAudioInput::Worker final : public QObject {
public:
    // Runs on the audio thread. Returns an error text, empty on success.
    QString start(const AudioFormat& format, int frames, Tap tap) {
        const QAudioDevice device = QMediaDevices::defaultAudioInput();
        if (device.isNull()) return QStringLiteral("Nenhum microfone disponível.");
        m_format = format;
        m_chunkBytes = qsizetype(frames) * format.bytesPerFrame();
        m_tap = std::move(tap);
        m_source = std::make_unique<QAudioSource>(device, toQt(format));
        // About a third of a second of room: a busy machine loses nothing, and the tail of a
        // released key is read out at the stop.
        m_source->setBufferSize(int(m_chunkBytes * 8));
        m_io = m_source->start();
        if (!m_io || m_source->error() != QAudio::NoError) {
            const QString why = errorText(m_source->error());
            teardown();
            return why;
        }
        QObject::connect(m_io, &QIODevice::readyRead, this, [this] { drain(false); });
        return {};
    }

    void stop() {
        if (!m_source) return;
        drain(true);
        teardown();
    }

private:
    static QString errorText(QAudio::Error e) {
        switch (e) {
        case QAudio::OpenError:
            return QStringLiteral("Não foi possível abrir o microfone.");
        case QAudio::IOError:
            return QStringLiteral("Erro de leitura do microfone.");
        case QAudio::FatalError:
            return QStringLiteral("O sistema de áudio falhou ao gravar.");
        default:
            return QStringLiteral("Não foi possível iniciar a gravação.");
        }
    }

    // Hands every whole chunk to the tap; at the end also the rest.
    void drain(bool final) {
        if (m_io) m_pending.append(m_io->readAll());
        const int bpf = m_format.bytesPerFrame();
        qsizetype at = 0;
        while (m_pending.size() - at >= m_chunkBytes) {
            m_tap(AudioBuffer{m_format, m_pending.mid(at, m_chunkBytes)});
            at += m_chunkBytes;
        }
        m_pending.remove(0, at);
        if (final) {
            const qsizetype whole = m_pending.size() / bpf * bpf;
            if (whole > 0) m_tap(AudioBuffer{m_format, m_pending.left(whole)});
            m_pending.clear();
        }
    }

    void teardown() {
        if (m_io) QObject::disconnect(m_io, nullptr, this, nullptr);
        if (m_source) m_source->stop();
        m_source.reset();
        m_io = nullptr;
        m_tap = nullptr;
        m_pending.clear();
    }

    AudioFormat m_format;
    qsizetype m_chunkBytes = 0;
    Tap m_tap;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_io = nullptr;
    QByteArray m_pending;
};

QtAudioInput::QtAudioInput() {
    m_thread.setObjectName(QStringLiteral("Nolvea.audio"));
    m_worker = new Worker;
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::TimeCriticalPriority);
}

QtAudioInput::~QtAudioInput() {
    stop();
    m_thread.quit();
    m_thread.wait();
}

AudioFormat QtAudioInput::format() {
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) return {};
    const QAudioFormat preferred = device.preferredFormat();
    AudioFormat f{preferred.sampleRate(), preferred.channelCount(), AudioFormat::Sample::float32};
    if (!f.isValid()) return {};
    if (!device.isFormatSupported(toQt(f))) f.sample = AudioFormat::Sample::int16;
    return f;
}

void QtAudioInput::start(const AudioFormat& format, int frames, Tap tap) {
    QString error;
    QMetaObject::invokeMethod(
        m_worker, [&] { error = m_worker->start(format, frames, std::move(tap)); },
        Qt::BlockingQueuedConnection);
    if (!error.isEmpty()) throw AudioInputError(error);
}

void QtAudioInput::stop() {
    QMetaObject::invokeMethod(
        m_worker, [this] { m_worker->stop(); }, Qt::BlockingQueuedConnection);
}

} // namespace nolvea
