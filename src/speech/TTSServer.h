#pragma once

#include "core/NeuralVoice.h"
#include "support/Clock.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <qcoro/qcorotask.h>

#include <memory>
#include <set>

namespace nolvea {

class ChildProcess;

// The local neural speech server: a child process started on demand (through `uvx`),
// polled until it answers on the loopback address, kept for the life of the program, and
// asked over HTTP for the WAV audio of a text. Main thread only.
class TTSServer : public QObject {
    Q_OBJECT

public:
    class Status {
    public:
        enum class Kind { failed, stopped, starting, ready };

        static Status failed(QString message) { return {Kind::failed, std::move(message)}; }
        static Status stopped() { return {Kind::stopped, {}}; }
        static Status starting() { return {Kind::starting, {}}; }
        static Status ready() { return {Kind::ready, {}}; }

        Kind kind() const { return m_kind; }
        // The text to show for `failed`.
        const QString& message() const { return m_message; }
        // "failed(<message>)", "stopped", "starting", "ready".
        QString description() const;

        friend bool operator==(const Status&, const Status&) = default;

    private:
        Status(Kind kind, QString message)
            : m_kind(kind)
            , m_message(std::move(message)) {}
        Kind m_kind;
        QString m_message;
    };

    struct Options {
        QString host = QStringLiteral("127.0.0.1");
        quint16 port = 8766;
        QString program = QStringLiteral("/usr/bin/env");
        Clock::Duration pollInterval{500};
        int maxPolls = 240;
    };

    explicit TTSServer(QObject* parent = nullptr);
    explicit TTSServer(Options options, QObject* parent = nullptr);
    ~TTSServer() override;

    static TTSServer& shared();

    // "http://<host>:<port>".
    QString baseURL() const;
    // The server's command line after the program.
    static QStringList arguments(const QString& host, quint16 port);
    // The JSON body that asks for one utterance.
    static QByteArray requestBody(const QString& text, NeuralVoice voice, double speed);

    // True once the server answers; starts it when nothing answers. Concurrent callers share
    // one start; a stop ends it (its callers get false) and a later call starts afresh.
    QCoro::Task<bool> ensureRunning();
    // The WAV audio of `text`. Throws the transport failure or an HTTP error.
    QCoro::Task<QByteArray> synthesize(QString text, NeuralVoice voice, double speed);
    // Starts the server and speaks once with `voice`, in the background, unless the voice has
    // already produced audio in this run.
    void warm(NeuralVoice voice);
    // Ends the server; does not wait for it to exit.
    void stop();

    const Status& status() const { return m_status; }
    const std::set<NeuralVoice>& warmed() const { return m_warmed; }
    bool hasProcess() const { return bool(m_process); }
    // The log file of the child: tts-server.log in the data folder.
    static QString logPath();

Q_SIGNALS:
    void statusChanged();

private:
    struct StartRun;

    QCoro::Task<bool> runStart(quint64 generation);
    QCoro::Task<bool> ping();
    // False when the child cannot be started or a stop came first.
    QCoro::Task<bool> launch(quint64 generation);
    void endChild();
    void setStatus(Status status);

    Options m_options;
    Status m_status = Status::stopped();
    std::unique_ptr<ChildProcess> m_process;
    std::shared_ptr<StartRun> m_startRun;
    std::set<NeuralVoice> m_warmed;
    quint64 m_generation = 0; // bumped by stop: a start under way gives up
    QNetworkAccessManager m_network;
};

} // namespace nolvea
