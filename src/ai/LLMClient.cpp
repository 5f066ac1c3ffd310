#include "ai/LLMClient.h"

#include "ai/AccountBridge.h"
#include "ai/AnthropicFormat.h"
#include "ai/IdleUnloader.h"
#include "ai/LLMError.h"
#include "ai/OpenAIFormat.h"
#include "ai/TransportError.h"
#include "ai/Vornel.h"
#include "core/AppSettings.h"
#include "support/Clock.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QThread>
#include <qcoro/qcoronetworkreply.h>

#include <cmath>

namespace nolvea {

namespace {

// One network manager per thread, as the network layer requires.
QNetworkAccessManager& networkManager() {
    thread_local QPointer<QNetworkAccessManager> manager;
    thread_local std::unique_ptr<QNetworkAccessManager> owned;
    if (!manager) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() == app->thread()) {
            manager = new QNetworkAccessManager(app); // goes with the application
        } else {
            owned = std::make_unique<QNetworkAccessManager>();
            manager = owned.get();
        }
    }
    return *manager;
}

// The failures that mean the server did not answer.
bool isUnreachable(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return true;
    default:
        return false;
    }
}

bool onMainThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

// The idle lease of one chat call: taken on the main thread, given back there (without
// waiting) however the call ends.
class IdleLease {
public:
    explicit IdleLease(const LLMClient& client) {
        const auto begin = [client] { IdleUnloader::shared().begin(client); };
        if (onMainThread())
            begin();
        else
            QMetaObject::invokeMethod(QCoreApplication::instance(), begin,
                                      Qt::BlockingQueuedConnection);
    }
    ~IdleLease() {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [] { IdleUnloader::shared().end(); }, Qt::QueuedConnection);
        else
            IdleUnloader::shared().end();
    }
    IdleLease(const IdleLease&) = delete;
    IdleLease& operator=(const IdleLease&) = delete;
};

Clock::Duration milliseconds(double seconds) {
    return Clock::Duration(qint64(std::llround(std::max(seconds, 0.0) * 1000.0)));
}

} // namespace

LLMClient LLMClient::fromSettings() {
    if (auto provider = AIProvider::fromRawValue(qEnvironmentVariable("VEMKA_TEST_PROVIDER"))) {
        LLMClient client;
        client.provider = *provider;
        client.model = qEnvironmentVariableIsSet("VEMKA_TEST_MODEL")
                           ? qEnvironmentVariable("VEMKA_TEST_MODEL")
                           : provider->defaultModel();
        client.baseURL = provider->apiBase(provider->defaultServerURL());
        return client;
    }
    const AppSettings& settings = AppSettings::shared();
    LLMClient client;
    client.provider = settings.aiProvider();
    client.baseURL = client.provider.apiBase(settings.serverURL());
    client.model = settings.model();
    client.apiKey = settings.apiKey();
    return client;
}

QCoro::Task<ChatMessage> LLMClient::chat(std::vector<ChatMessage> messages,
                                         std::optional<std::vector<ToolSpec>> tools,
                                         double temperature, std::optional<int> maxTokens,
                                         double timeout) const {
    return chatOf(*this, std::move(messages), std::move(tools), temperature, maxTokens, timeout);
}

QCoro::Task<ChatMessage> LLMClient::chatOf(LLMClient self, std::vector<ChatMessage> messages,
                                           std::optional<std::vector<ToolSpec>> tools,
                                           double temperature, std::optional<int> maxTokens,
                                           double timeout) {
    if (self.provider.needsKey() && self.apiKey.isEmpty())
        throw LLMError::missingKey(self.provider.label());
    if (self.model.isEmpty()) throw LLMError::noModel();
    if (tools && tools->empty()) tools.reset();

    const bool servedByVornel = Vornel::matches(self);
    std::optional<IdleLease> lease;
    if (self.provider.isLocal() || servedByVornel) lease.emplace(self);
    if (servedByVornel) co_await Vornel::ensureRunning(self);

    switch (self.provider) {
    case AIProvider::anthropic: {
        const JSONValue body =
            AnthropicFormat::request(self.model, messages, tools, maxTokens.value_or(16000));
        const QStringList betas = AnthropicFormat::currentModels().contains(self.model)
                                      ? AnthropicFormat::currentModelBetas()
                                      : QStringList();
        const QByteArray reply = co_await self.post(self.baseURL + QStringLiteral("/messages"),
                                                    body.compactBytes(), timeout, betas);
        co_return AnthropicFormat::message(reply);
    }
    case AIProvider::claudeAccount:
    case AIProvider::chatgptAccount:
        co_return co_await AccountBridge::chat(self.provider, self.model, std::move(messages),
                                               std::move(tools), timeout);
    default: {
        const JSONValue body = OpenAIFormat::request(self.provider, self.model, messages, tools,
                                                     temperature, maxTokens);
        const QByteArray reply = co_await self.post(
            self.baseURL + QStringLiteral("/chat/completions"), body.compactBytes(), timeout);
        co_return OpenAIFormat::message(reply);
    }
    }
}

QString LLMClient::errorSubject() const {
    if (Vornel::matches(*this)) return Vornel::subject();
    if (provider == AIProvider::custom) return QStringLiteral("O servidor de IA");
    return provider.label();
}

QUrl LLMClient::url(const QString& path) const {
    return parseAddress(baseURL + path);
}

QUrl LLMClient::parseAddress(const QString& address) const {
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid()) throw LLMError::offline(errorSubject());
    return url;
}

void LLMClient::authorize(QNetworkRequest& request) const {
    if (apiKey.isEmpty()) return;
    if (provider == AIProvider::anthropic) {
        request.setRawHeader("x-api-key", apiKey.toUtf8());
        request.setRawHeader("anthropic-version", "2023-06-01");
        return;
    }
    request.setRawHeader("Authorization", "Bearer " + apiKey.toUtf8());
    if (provider == AIProvider::openRouter) request.setRawHeader("X-Title", "Nolvea");
}

QCoro::Task<LLMClient::Reply> LLMClient::perform(QNetworkRequest request, QByteArray verb,
                                                 QByteArray body, double timeout) const {
    // The deadline runs on the injectable clock, so tests can move past it.
    request.setTransferTimeout(0);
    QNetworkAccessManager& manager = networkManager();
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        verb == "POST" ? manager.post(request, body) : manager.get(request),
        [](QNetworkReply* r) { r->deleteLater(); });
    bool timedOut = false;
    QNetworkReply* raw = reply.get();
    auto deadline = Clock::shared().schedule(milliseconds(timeout), false, [&timedOut, raw] {
        timedOut = true;
        raw->abort();
    });
    co_await qCoro(raw).waitForFinished();
    deadline.reset();

    const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && !timedOut) co_return Reply{true, status.toInt(), raw->readAll()};
    if (timedOut || isUnreachable(raw->error())) throw LLMError::offline(errorSubject());
    if (raw->error() != QNetworkReply::NoError)
        throw TransportError(int(raw->error()), raw->errorString());
    co_return Reply{false, 0, raw->readAll()};
}

QCoro::Task<QByteArray> LLMClient::post(QString address, QByteArray json, double timeout,
                                        QStringList betas) const {
    QNetworkRequest request(parseAddress(address));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    authorize(request);
    if (!betas.isEmpty()) request.setRawHeader("anthropic-beta", betas.join(u',').toUtf8());
    const Reply reply = co_await perform(request, "POST", json, timeout);
    if (!reply.isHTTP) throw LLMError::emptyResponse();
    if (reply.status != 200)
        throw LLMError::http(errorSubject(), reply.status, QString::fromUtf8(reply.body));
    co_return reply.body;
}

} // namespace nolvea
