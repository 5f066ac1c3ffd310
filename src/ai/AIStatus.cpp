#include "ai/AIStatus.h"

#include "ai/TextCleaner.h"
#include "ai/Vornel.h"
#include "ai/Warmup.h"
#include "core/AppSettings.h"
#include "support/Detached.h"
#include "support/Error.h"

#include <QPointer>

#include <algorithm>

namespace nolvea {

AIStatus::AIStatus(QObject* parent)
    : QObject(parent) {
    // The title reads the provider and its key from the settings.
    AppSettings& settings = AppSettings::shared();
    connect(&settings, &AppSettings::aiProviderChanged, this, &AIStatus::titleChanged);
    connect(&settings, &AppSettings::apiKeyChanged, this, &AIStatus::titleChanged);
}

AIStatus::~AIStatus() = default;

AIStatus& AIStatus::shared() {
    static AIStatus* status = [] {
        auto* created = new AIStatus();
        Vornel::shared().setChanged([created] { created->refresh(); });
        return created;
    }();
    return *status;
}

QString AIStatus::title() const {
    const AppSettings& settings = AppSettings::shared();
    const AIProvider provider = settings.aiProvider();
    switch (m_connection) {
    case AIConnection::sleeping:
        return QStringLiteral("Vornel em repouso · liga quando você usar");
    case AIConnection::offline:
        if (provider.needsKey() && settings.apiKey().isEmpty())
            return QStringLiteral("Falta a chave do ") + provider.label();
        return m_lastError.value_or(QString());
    case AIConnection::online:
        return provider.label() + QStringLiteral(" conectado");
    case AIConnection::unknown:
    case AIConnection::checking:
        break;
    }
    return QStringLiteral("Verificando IA…");
}

void AIStatus::startMonitoring() {
    refresh();
    m_timer = Clock::shared().schedule(probeInterval, true, [this] { refresh(); });
}

void AIStatus::refresh() {
    if (m_connection != AIConnection::checking && m_connection != AIConnection::online)
        setConnection(AIConnection::checking);
    detach(probe(LLMClient::fromSettings(), ++m_probeRun), QStringLiteral("Estado do modelo"));
}

QCoro::Task<> AIStatus::probe(LLMClient client, quint64 run) {
    QPointer<AIStatus> self(this);
    ++m_probesRunning;
    std::optional<QStringList> models;
    QString error;
    try {
        models = co_await client.listModels();
    } catch (const std::exception& e) {
        error = describe(e);
    }
    if (!self) co_return;
    --m_probesRunning;
    report(client, run, std::move(models), error);
    Q_EMIT checkFinished();
}

void AIStatus::report(const LLMClient& client, quint64 run, std::optional<QStringList> models,
                      const QString& error) {
    // An older probe, or one of a back-end the person has since left, says nothing about the
    // current one.
    if (run != m_probeRun || LLMClient::fromSettings() != client) return;
    if (models) {
        std::sort(models->begin(), models->end());
        setModels(*models);
        setLastError(std::nullopt);
        if (m_connection != AIConnection::online) {
            Warmup::shared().cleanup();
            Warmup::shared().agent();
            setConnection(AIConnection::online);
        }
        return;
    }
    setModels({});
    setLastError(error);
    setConnection(Vornel::matches(LLMClient::fromSettings()) ? AIConnection::sleeping
                                                             : AIConnection::offline);
}

QString AIStatus::testPhrase() {
    return QStringLiteral("é então tipo o teste do nolvéia tá funcionando não quis dizer tá "
                          "funcionando perfeitamente");
}

QCoro::Task<QString> AIStatus::testCleanup() {
    QPointer<AIStatus> self(this);
    const Clock::Duration start = Clock::shared().uptime();
    const LLMClient client = LLMClient::fromSettings();
    const TextCleaner cleaner(client);
    const QStringList vocabulary(QString::fromLatin1("Nolvea"));
    const QString result = co_await cleaner.clean(testPhrase(), ScreenContext::empty(), vocabulary);
    // Timing a back-end the person has since left would mislabel the current one.
    if (self && LLMClient::fromSettings() == client) {
        const auto elapsed = Clock::shared().uptime() - start;
        setLastLatency(double(elapsed.count()) / 1000.0);
        setConnection(AIConnection::online);
    }
    co_return result;
}

void AIStatus::setConnection(AIConnection value) {
    if (m_connection == value) return;
    m_connection = value;
    Q_EMIT connectionChanged();
    Q_EMIT titleChanged();
}

void AIStatus::setModels(const QStringList& value) {
    if (m_models == value) return;
    m_models = value;
    Q_EMIT modelsChanged();
}

void AIStatus::setLastLatency(std::optional<double> value) {
    if (m_lastLatency == value) return;
    m_lastLatency = value;
    Q_EMIT lastLatencyChanged();
}

void AIStatus::setLastError(std::optional<QString> value) {
    if (m_lastError == value) return;
    m_lastError = std::move(value);
    Q_EMIT lastErrorChanged();
    if (m_connection == AIConnection::offline) Q_EMIT titleChanged();
}

QVariant AIStatus::lastLatencyValue() const {
    return m_lastLatency ? QVariant(*m_lastLatency) : QVariant();
}

QVariant AIStatus::lastErrorValue() const {
    return m_lastError ? QVariant(*m_lastError) : QVariant();
}

} // namespace nolvea
