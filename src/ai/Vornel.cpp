#include "ai/Vornel.h"

#include "ai/IdleUnloader.h"
#include "ai/LLMClient.h"
#include "ai/LLMError.h"
#include "core/UserDefaults.h"
#include "support/ChildProcess.h"
#include "support/Clock.h"
#include "support/Detached.h"
#include "support/ProcessStartError.h"
#include "support/Promise.h"
#include "support/json/JSONValue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <qcoro/qcoronetworkreply.h>

#include <cmath>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace nolvea {

struct Vornel::Pending {
    std::vector<Promise<>> waiters;

    void settle(std::exception_ptr error) {
        for (Promise<>& waiter : std::exchange(waiters, {})) {
            if (error)
                waiter.reject(error);
            else
                waiter.resolve();
        }
    }
};

namespace {

// The control application's options; a present member of the wrong type voids them all.
struct Options {
    std::optional<QString> context, cacheDisk, kvFormat, prefillMode, reasoning;
    std::optional<bool> webUI;
};

Q_LOGGING_CATEGORY(lcVornel, "nolvea.vornel")

std::optional<Options> decodeOptions(const QByteArray& data);

std::optional<Options> readOptions(const QString& domain) {
    const auto defaults = UserDefaults::domain(domain);
    const QByteArray data = defaults->data(QStringLiteral("config")).value_or(QByteArray());
    if (data.isEmpty()) return std::nullopt;
    std::optional<Options> options = decodeOptions(data);
    if (!options)
        qCWarning(lcVornel).noquote()
            << QStringLiteral("As opções do Vornel em %1 não puderam ser lidas; o servidor "
                              "começa com as opções padrão.")
                   .arg(defaults->path());
    return options;
}

std::optional<Options> decodeOptions(const QByteArray& data) {
    const std::optional<JSONValue> json = JSONValue::parse(data);
    if (!json || !json->isObject()) return std::nullopt;

    Options options;
    bool valid = true;
    const auto text = [&](const char* key, std::optional<QString>& field) {
        const JSONValue* value = json->member(QString::fromLatin1(key));
        if (!value || value->isNull()) return;
        if (!value->isString())
            valid = false;
        else
            field = value->asString();
    };
    text("context", options.context);
    text("cacheDisk", options.cacheDisk);
    text("kvFormat", options.kvFormat);
    text("prefillMode", options.prefillMode);
    text("reasoning", options.reasoning);
    if (const JSONValue* webUI = json->member(QStringLiteral("webUI")); webUI && !webUI->isNull()) {
        if (!webUI->isBool())
            valid = false;
        else
            options.webUI = webUI->asBool();
    }
    if (!valid) return std::nullopt;
    return options;
}

std::optional<int> integer(const JSONValue* value) {
    if (!value || !value->isNumber()) return std::nullopt;
    const double number = *value->asNumber();
    if (number != std::floor(number) || std::abs(number) > 1e9) return std::nullopt;
    return int(number);
}

const JSONValue* path(const JSONValue& root, std::initializer_list<const char*> keys) {
    const JSONValue* value = &root;
    for (const char* key : keys) {
        if (!value->isObject()) return nullptr;
        value = value->member(QString::fromLatin1(key));
        if (!value) return nullptr;
    }
    return value;
}

QString stateHome() {
    const QString configured = qEnvironmentVariable("XDG_STATE_HOME");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state") : configured;
}

// The log the server writes to, moved aside once it is over the limit. False when it cannot
// be made.
bool prepareLog(const QString& logPath, qint64 limit) {
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    if (limit > 0 && QFileInfo(logPath).size() > limit) {
        const QString aside = logPath + QStringLiteral(".1");
        QFile::remove(aside);
        QFile::rename(logPath, aside);
    }
    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    log.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

} // namespace

Vornel::Setup Vornel::Setup::standard() {
    Setup setup;
    setup.candidates = {QStringLiteral("/opt/homebrew/bin/vornel-m1"),
                        QDir::homePath() + QStringLiteral("/.local/bin/vornel-m1"),
                        QStringLiteral("/usr/local/bin/vornel-m1")};
    setup.serverPattern = QStringLiteral(
        R"(Vornel-M1/.*(server/server\.py|install/launcher\.py|install/models\.py))");
    setup.pgrep = QStringLiteral("/usr/bin/pgrep");
    setup.pkill = QStringLiteral("/usr/bin/pkill");
    setup.optionsDomain = QStringLiteral("local.quenbrot.vornel-control");
    setup.logPath = stateHome() + QStringLiteral("/VornelControl/vornel.log");
    setup.logLimit = 10 * 1024 * 1024;
    setup.requestsInFlight = [] { return IdleUnloader::shared().inFlight(); };
    return setup;
}

Vornel::Vornel(Setup setup)
    : m_setup(std::move(setup)) {}

Vornel::~Vornel() = default;

Vornel& Vornel::shared() {
    static Vornel vornel(Setup::standard());
    return vornel;
}

bool Vornel::matches(const LLMClient& client) {
    return shared().serves(client);
}

QCoro::Task<> Vornel::ensureRunning(const LLMClient& client) {
    return shared().ensureReady(client);
}

QCoro::Task<bool> Vornel::stopIfIdle(const LLMClient& client) {
    return shared().stopWhenIdle(client);
}

void Vornel::recordBaseline(const LLMClient& client) {
    shared().takeBaseline(client);
}

bool Vornel::serves(const LLMClient& client) const {
    if (client.provider != AIProvider::custom) return false;
    if (!client.model.contains(QStringLiteral("vornel"), Qt::CaseInsensitive)) return false;
    const QUrl url(client.baseURL);
    if (!url.isValid()) return false;
    const QString host = url.host();
    if (host != u"localhost" && host != u"127.0.0.1" && host != u"::1") return false;
    return !binary().isEmpty();
}

QString Vornel::binary() const {
    for (const QString& candidate : m_setup.candidates) {
        const QFileInfo file(candidate);
        if (file.isFile() && file.isExecutable()) return candidate;
    }
    return QStandardPaths::findExecutable(executableName());
}

QString Vornel::root(const QString& baseURL) {
    return baseURL.endsWith(QStringLiteral("/v1")) ? baseURL.chopped(3) : baseURL;
}

std::optional<Vornel::Load> Vornel::parseLoad(const QByteArray& body) {
    const std::optional<JSONValue> json = JSONValue::parse(body);
    if (!json || !json->isObject()) return std::nullopt;
    Load load;
    load.submitted = integer(path(*json, {"requests", "submitted"})).value_or(0);
    load.active = integer(path(*json, {"http", "requests", "active"})).value_or(0) +
                  integer(path(*json, {"frontend", "active"})).value_or(0);
    return load;
}

QStringList Vornel::arguments(const LLMClient& client) const {
    const std::optional<Options> options = readOptions(m_setup.optionsDomain);
    const QUrl url(client.baseURL);
    const int port = url.isValid() && url.port() >= 0 ? url.port() : 8000;

    const auto option = [&](std::optional<QString> Options::*field, const char* fallback) {
        return options && (*options.*field) ? *(*options.*field) : QString::fromLatin1(fallback);
    };
    QStringList args{QStringLiteral("serve"),
                     QStringLiteral("--model"),
                     client.model,
                     QStringLiteral("--port"),
                     QString::number(port),
                     QStringLiteral("--kv-format"),
                     option(&Options::kvFormat, "int8"),
                     QStringLiteral("--prefill-mode"),
                     option(&Options::prefillMode, "bounded")};
    const QString context = option(&Options::context, "20K");
    if (context != u"auto") args << QStringLiteral("--max-context") << context;
    const QString cacheDisk = option(&Options::cacheDisk, "20G");
    if (cacheDisk != u"0") args << QStringLiteral("--max-cache-disk") << cacheDisk;
    if (options && options->reasoning && !options->reasoning->isEmpty())
        args << QStringLiteral("--default-reasoning-effort") << *options->reasoning;
    if (options && options->webUI == false) args << QStringLiteral("--no-webui");
    return args;
}

QNetworkAccessManager& Vornel::network() {
    if (!m_network) {
        m_network = std::make_unique<QNetworkAccessManager>();
        m_network->setProxy(QNetworkProxy::NoProxy); // the server is on this machine
    }
    return *m_network;
}

QCoro::Task<bool> Vornel::isReady(LLMClient client) {
    const QUrl url(root(client.baseURL) + QStringLiteral("/ready"));
    if (!url.isValid() || url.host().isEmpty()) co_return false;
    QNetworkRequest request(url);
    request.setTransferTimeout(1500);
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        network().get(request), [](QNetworkReply* r) { r->deleteLater(); });
    co_await reply.get();
    co_return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
}

QCoro::Task<std::optional<Vornel::Load>> Vornel::load(LLMClient client) {
    const QUrl url(root(client.baseURL) + QStringLiteral("/status"));
    if (!url.isValid() || url.host().isEmpty()) co_return std::nullopt;
    QNetworkRequest request(url);
    request.setTransferTimeout(3000);
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        network().get(request), [](QNetworkReply* r) { r->deleteLater(); });
    co_await reply.get();
    // Any answer counts, whatever its status; only a transport failure gives nothing.
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        co_return std::nullopt;
    co_return parseLoad(reply->readAll());
}

QCoro::Task<> Vornel::ensureReady(LLMClient client) {
    if (m_stopping) {
        Promise<> stopped;
        m_stopping->waiters.push_back(stopped);
        co_await stopped;
    }
    if (co_await isReady(client)) co_return;

    Promise<> started;
    if (m_starting) {
        m_starting->waiters.push_back(started);
    } else {
        m_starting = std::make_shared<Pending>();
        m_starting->waiters.push_back(started);
        // Runs on by itself; settles every waiter.
        detach(runStart(client, m_starting), QStringLiteral("Vornel: início"));
    }
    co_await started;
}

QCoro::Task<> Vornel::runStart(LLMClient client, std::shared_ptr<Pending> pending) {
    std::exception_ptr error;
    try {
        co_await launchAndWait(client);
    } catch (...) {
        error = std::current_exception();
    }
    if (m_starting == pending) m_starting.reset();
    pending->settle(error);
}

QCoro::Task<> Vornel::launchAndWait(LLMClient client) {
    // One already starting is not started twice.
    if (!co_await serverRunning()) launch(client);
    const Clock::Duration begun = Clock::shared().uptime();
    while (Clock::shared().uptime() - begun < startLimit) {
        if (co_await isReady(client)) {
            if (m_setup.changed) m_setup.changed();
            co_return;
        }
        if (Clock::shared().uptime() - begun > livenessAfter && !co_await serverRunning())
            throw LLMError::offline(subject()); // it died while starting
        co_await Clock::shared().sleep(pollInterval);
    }
    throw LLMError::offline(subject());
}

void Vornel::launch(const LLMClient& client) {
    const QString program = binary();
    if (program.isEmpty()) throw LLMError::offline(subject());

    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments(client));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"),
               QStringLiteral("/opt/homebrew/bin:/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin"));
    env.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QDir::homePath());
    process.setStandardInputFile(QProcess::nullDevice());
    if (prepareLog(m_setup.logPath, m_setup.logLimit)) {
        process.setStandardOutputFile(m_setup.logPath, QIODevice::Append);
        process.setStandardErrorFile(m_setup.logPath, QIODevice::Append);
    } else {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    // Detached: found again only through its process names and HTTP paths.
    if (!process.startDetached()) throw LLMError::offline(subject());
}

QCoro::Task<bool> Vornel::stopWhenIdle(LLMClient client) {
    const std::optional<Load> load = co_await this->load(client);
    if (!load) co_return true;
    const QString server = root(client.baseURL);
    if (load->active > 0) {
        m_baseline = Baseline{server, load->submitted};
        co_return false;
    }
    if (m_baseline && m_baseline->server == server && m_baseline->submitted != load->submitted) {
        m_baseline = Baseline{server, load->submitted}; // used since the last look
        co_return false;
    }
    const int inFlight = m_setup.requestsInFlight ? m_setup.requestsInFlight() : 0;
    if (inFlight <= 0 && !m_starting) {
        m_baseline.reset();
        if (!m_stopping) {
            m_stopping = std::make_shared<Pending>();
            detach(runStop(m_stopping), QStringLiteral("Vornel: parada"));
        }
        co_return true;
    }
    co_return false;
}

void Vornel::takeBaseline(LLMClient client) {
    detach(
        [](Vornel* self, LLMClient client) -> QCoro::Task<> {
            const std::optional<Load> load = co_await self->load(client);
            self->m_baseline =
                load ? std::optional<Baseline>(Baseline{root(client.baseURL), load->submitted})
                     : std::nullopt;
        }(this, std::move(client)),
        QStringLiteral("Vornel: contagem de pedidos"));
}

QCoro::Task<> Vornel::runStop(std::shared_ptr<Pending> pending) {
    const auto pause = [](Clock::Duration delay) -> QCoro::Task<> {
        try {
            co_await Clock::shared().sleep(delay);
        } catch (...) {
        }
    };
    co_await signalServer(QStringLiteral("-INT"));
    for (int poll = 0; poll < stopPolls && co_await serverRunning(); ++poll)
        co_await pause(pollInterval);
    if (co_await serverRunning()) {
        co_await signalServer(QStringLiteral("-TERM"));
        co_await pause(killDelay);
        if (co_await serverRunning()) co_await signalServer(QStringLiteral("-KILL"));
    }
    if (m_stopping == pending) m_stopping.reset();
    pending->settle(nullptr);
    if (m_setup.changed) m_setup.changed();
}

QCoro::Task<int> Vornel::processTool(QString program, QStringList arguments) const {
    // Only this user's processes: another user's server is none of ours to stop.
    arguments << QStringLiteral("-u") << QString::number(::getuid()) << QStringLiteral("-f")
              << m_setup.serverPattern;
    ChildProcess::Setup setup;
    setup.program = program;
    setup.arguments = arguments;
    setup.output = ChildProcess::Output::discard;
    setup.timeLimit = m_setup.toolLimit;
    try {
        const ChildProcess::Exit exit = co_await ChildProcess::run(std::move(setup));
        co_return exit.signalled || exit.timedOut ? -1 : exit.status;
    } catch (const ProcessStartError&) {
        co_return -1;
    }
}

QCoro::Task<bool> Vornel::serverRunning() const {
    co_return co_await processTool(m_setup.pgrep, QStringList()) == 0;
}

QCoro::Task<> Vornel::signalServer(QString signal) const {
    // Built outside the co_await: g++ 12 mishandles braced lists there.
    QStringList arguments(signal);
    co_await processTool(m_setup.pkill, std::move(arguments));
}

} // namespace nolvea
