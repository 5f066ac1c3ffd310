#include "speech/TTSServer.h"

#include "ai/LLMError.h"
#include "ai/TransportError.h"
#include "core/AppPaths.h"
#include "speech/NeuralVoiceRequest.h"
#include "support/ChildProcess.h"
#include "support/Detached.h"
#include "support/ProcessStartError.h"
#include "support/Promise.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QPointer>
#include <qcoro/qcoronetworkreply.h>

namespace nolvea {

namespace {

constexpr Clock::Duration kTermGrace{3000};

} // namespace

struct TTSServer::StartRun {
    std::vector<Promise<bool>> waiters;
};

QString TTSServer::Status::description() const {
    switch (m_kind) {
    case Kind::failed:
        return QStringLiteral("failed(") + m_message + QLatin1Char(')');
    case Kind::stopped:
        return QStringLiteral("stopped");
    case Kind::starting:
        return QStringLiteral("starting");
    case Kind::ready:
        return QStringLiteral("ready");
    }
    return {};
}

TTSServer::TTSServer(QObject* parent)
    : TTSServer(Options(), parent) {}

TTSServer::TTSServer(Options options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options)) {}

TTSServer::~TTSServer() {
    endChild();
}

TTSServer& TTSServer::shared() {
    static auto* server = new TTSServer();
    return *server;
}

QString TTSServer::baseURL() const {
    return QStringLiteral("http://") + m_options.host + QLatin1Char(':') +
           QString::number(m_options.port);
}

QString TTSServer::logPath() {
    return AppPaths::file(QStringLiteral("tts-server.log"));
}

QStringList TTSServer::arguments(const QString& host, quint16 port) {
    return {QStringLiteral("uvx"),
            QStringLiteral("--from"),
            QStringLiteral("mlx-audio[server]"),
            QStringLiteral("--with"),
            QStringLiteral("misaki"),
            QStringLiteral("--with"),
            QStringLiteral("phonemizer-fork"),
            QStringLiteral("--with"),
            QStringLiteral("espeakng-loader"),
            QStringLiteral("--with"),
            QStringLiteral("num2words"),
            QStringLiteral("--with"),
            QStringLiteral("spacy"),
            QStringLiteral("--with"),
            QStringLiteral("mistral-common"),
            QStringLiteral("mlx_audio.server"),
            QStringLiteral("--host"),
            host,
            QStringLiteral("--port"),
            QString::number(port)};
}

QByteArray TTSServer::requestBody(const QString& text, NeuralVoice voice, double speed) {
    QJsonObject body;
    for (const auto& [key, value] : NeuralVoiceRequest::fields(voice))
        body.insert(key, value);
    body.insert(QStringLiteral("input"), text);
    body.insert(QStringLiteral("response_format"), QStringLiteral("wav"));
    if (NeuralVoiceRequest::takesSpeed(voice)) body.insert(QStringLiteral("speed"), speed);
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

void TTSServer::setStatus(Status status) {
    if (m_status == status) return;
    m_status = std::move(status);
    Q_EMIT statusChanged();
}

QCoro::Task<bool> TTSServer::ping() {
    QNetworkRequest request(QUrl(baseURL() + QLatin1Char('/')));
    request.setTransferTimeout(1500);
    std::unique_ptr<QNetworkReply> reply(m_network.get(request));
    co_await reply.get();
    co_return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
}

QCoro::Task<bool> TTSServer::ensureRunning() {
    if (m_status.kind() == Status::Kind::ready && co_await ping()) co_return true;
    if (m_startRun) {
        Promise<bool> result;
        m_startRun->waiters.push_back(result);
        co_return co_await result;
    }
    auto run = std::make_shared<StartRun>();
    m_startRun = run;
    const bool ok = co_await runStart(m_generation);
    if (m_startRun == run) m_startRun.reset();
    for (auto& waiter : run->waiters)
        waiter.resolve(ok);
    co_return ok;
}

QCoro::Task<bool> TTSServer::runStart(quint64 generation) {
    const bool answered = co_await ping();
    if (generation != m_generation) co_return false; // stopped meanwhile
    if (answered) {
        // Something already answers on the port: use it.
        setStatus(Status::ready());
        co_return true;
    }
    setStatus(Status::starting());
    // A child that cannot even be started will never answer.
    if (!co_await launch(generation)) co_return false;
    for (int polls = 0;;) {
        try {
            co_await Clock::shared().sleep(m_options.pollInterval);
        } catch (...) {
        }
        if (generation != m_generation) co_return false; // stopped meanwhile
        if (co_await ping()) {
            setStatus(Status::ready());
            co_return true;
        }
        if (generation != m_generation) co_return false;
        if (m_process && !m_process->isRunning()) {
            setStatus(
                Status::failed(QStringLiteral("O servidor de voz fechou — veja tts-server.log")));
            co_return false;
        }
        if (++polls >= m_options.maxPolls) {
            setStatus(Status::failed(QStringLiteral("O servidor de voz não respondeu")));
            co_return false;
        }
    }
}

QCoro::Task<bool> TTSServer::launch(quint64 generation) {
    endChild(); // never two servers fighting over the port

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString path = env.value(QStringLiteral("PATH"));
    env.insert(QStringLiteral("PATH"),
               QStringList{QDir::homePath() + QStringLiteral("/.local/bin"),
                           QStringLiteral("/opt/homebrew/bin"), QStringLiteral("/usr/local/bin"),
                           path.isEmpty() ? QStringLiteral("/usr/bin:/bin") : path}
                   .join(QLatin1Char(':')));
    ChildProcess::Setup setup;
    setup.program = m_options.program;
    setup.arguments = arguments(m_options.host, m_options.port);
    setup.environment = env;
    setup.workingFolder = AppPaths::support();
    setup.stopGrace = kTermGrace;
    // Each launch starts an empty log that takes both output streams.
    QFile log(logPath());
    if (log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        log.close();
        setup.output = ChildProcess::Output::logFile;
        setup.logFile = logPath();
    } else {
        setup.output = ChildProcess::Output::inherited;
    }

    auto child = std::make_unique<ChildProcess>(std::move(setup));
    try {
        co_await child->start();
    } catch (const ProcessStartError& e) {
        if (generation == m_generation) setStatus(Status::failed(e.reason()));
        co_return false;
    }
    // A stop while it started: dropping the child ends it.
    if (generation != m_generation) co_return false;
    m_process = std::move(child);
    co_return true;
}

void TTSServer::endChild() {
    // Ended in the background; killed if it ignores the request.
    m_process.reset();
}

QCoro::Task<QByteArray> TTSServer::synthesize(QString text, NeuralVoice voice, double speed) {
    QNetworkRequest request(QUrl(baseURL() + QStringLiteral("/v1/audio/speech")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(120'000);
    std::unique_ptr<QNetworkReply> reply(m_network.post(request, requestBody(text, voice, speed)));
    co_await reply.get();
    const QVariant code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!code.isValid() && reply->error() != QNetworkReply::NoError)
        throw TransportError(int(reply->error()), reply->errorString());
    const QByteArray body = reply->readAll();
    const int status = code.toInt();
    if (status != 200 || body.size() < 45)
        throw LLMError::http(QStringLiteral("A voz neural"), status,
                             QString::fromUtf8(body.left(200)));
    m_warmed.insert(voice);
    co_return body;
}

void TTSServer::warm(NeuralVoice voice) {
    if (m_warmed.contains(voice)) return;
    detach(
        [](QPointer<TTSServer> self, NeuralVoice voice) -> QCoro::Task<> {
            if (!self || !co_await self->ensureRunning() || !self) co_return;
            // The audio is thrown away: only loading the voice counts.
            co_await self->synthesize(QStringLiteral("Olá."), voice, 1.0);
        }(this, voice),
        QStringLiteral("Voz neural: aquecimento"));
}

void TTSServer::stop() {
    ++m_generation;
    // The start under way is over: its callers hear no, and the next call starts afresh.
    if (const auto run = std::exchange(m_startRun, nullptr))
        for (auto& waiter : run->waiters)
            waiter.resolve(false);
    endChild();
    setStatus(Status::stopped());
    m_warmed.clear();
}

} // namespace nolvea
