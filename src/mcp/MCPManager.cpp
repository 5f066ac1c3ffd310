#include "mcp/MCPManager.h"

#include "ai/Warmup.h"
#include "core/AppPaths.h"
#include "mcp/MCPError.h"
#include "support/AtomicFile.h"
#include "support/Detached.h"
#include "support/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimeZone>

#include <algorithm>

namespace nolvea {

MCPManager::MCPManager(QString configPath, QObject* parent)
    : QObject(parent)
    , m_configPath(std::move(configPath)) {}

MCPManager::~MCPManager() {
    stopAll();
}

MCPManager& MCPManager::shared() {
    static QPointer<MCPManager> instance;
    if (!instance)
        instance = new MCPManager(AppPaths::file(QStringLiteral("mcp.json")),
                                  QCoreApplication::instance());
    return *instance;
}

const MCPManager::Server* MCPManager::server(const QString& name) const {
    for (const Server& s : m_servers)
        if (s.name == name) return &s;
    return nullptr;
}

MCPManager::Server* MCPManager::findServer(const QString& name) {
    for (Server& s : m_servers)
        if (s.name == name) return &s;
    return nullptr;
}

std::shared_ptr<MCPClient> MCPManager::client(const QString& name) const {
    auto it = m_clients.find(name);
    return it == m_clients.end() ? nullptr : it->second;
}

void MCPManager::setConfigError(std::optional<MCPError> error) {
    if (m_configError == error) return;
    m_configError = std::move(error);
    Q_EMIT configErrorChanged();
}

// ---------------------------------------------------------------------------------------------
// The file

std::optional<FileWriteError> MCPManager::ensureConfigExists() {
    if (QFile::exists(m_configPath)) return std::nullopt;
    const QByteArray text =
        MCPConfigFile::defaultText(QString::fromUtf8(QTimeZone::systemTimeZoneId()));
    return AtomicFile::write(m_configPath, text, AtomicFile::Access::Private);
}

std::variant<MCPConfigFile, MCPError> MCPManager::readConfig() const {
    QFile file(m_configPath);
    if (!file.open(QIODevice::ReadOnly))
        return MCPError::invalidConfig(file.exists()
                                           ? QStringLiteral("não foi possível ler o arquivo.")
                                           : QStringLiteral("o arquivo não existe."));
    return MCPConfigFile::decode(file.readAll());
}

std::optional<MCPError> MCPManager::save(const MCPConfigFile& file) {
    std::optional<MCPError> failure;
    if (AtomicFile::write(m_configPath, file.encode(), AtomicFile::Access::Private))
        failure = MCPError::unsaved();
    reload();
    if (failure && !m_configError) setConfigError(failure);
    return failure;
}

std::optional<MCPError> MCPManager::setServer(const QString& name, const MCPServerConfig& config) {
    if (ensureConfigExists()) return MCPError::unsaved();
    auto read = readConfig();
    if (auto* error = std::get_if<MCPError>(&read)) return std::move(*error);
    auto& file = std::get<MCPConfigFile>(read);
    file.mcpServers[name] = config;
    return save(file);
}

void MCPManager::setDisabled(const QString& name, bool disabled) {
    auto read = readConfig();
    auto* file = std::get_if<MCPConfigFile>(&read);
    if (!file) return;
    auto it = file->mcpServers.find(name);
    if (it == file->mcpServers.end()) return;
    it->second.disabled = disabled ? std::optional<bool>(true) : std::nullopt;
    save(*file);
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void MCPManager::stopAll() {
    auto clients = std::exchange(m_clients, {});
    for (auto& [name, client] : clients)
        if (client) client->stop();
}

void MCPManager::reload() {
    stopAll();
    setConfigError(std::nullopt);
    // A default file that could not be written is told as such, not as a missing file.
    const bool unwritten = ensureConfigExists().has_value();

    const auto read = readConfig();
    const auto* file = std::get_if<MCPConfigFile>(&read);
    if (!file) {
        setConfigError(unwritten ? MCPError::unsaved() : std::get<MCPError>(read));
        m_servers.clear();
        Q_EMIT serversChanged();
        return;
    }
    std::vector<Server> servers;
    for (const auto& [name, config] : file->mcpServers) // a std::map: sorted by name
        servers.push_back(
            Server{name,
                   config,
                   config.isDisabled() ? ServerState::disabled() : ServerState::starting(),
                   {}});
    m_servers = std::move(servers);
    Q_EMIT serversChanged();
    for (const Server& s : m_servers)
        if (s.state.kind == ServerState::Kind::starting) start(s);
}

void MCPManager::start(const Server& server) {
    auto client = MCPClient::create(server.name, server.config.command,
                                    server.config.args.value_or(QStringList()),
                                    server.config.env.value_or(QMap<QString, QString>()));
    m_clients[server.name] = client;
    // Its result lands in m_servers.
    detach(runStart(server.name, client), QStringLiteral("MCP: início de ") + server.name);
}

bool MCPManager::isCurrent(const QString& name, const std::shared_ptr<MCPClient>& client) const {
    auto it = m_clients.find(name);
    return it != m_clients.end() && it->second == client;
}

QCoro::Task<> MCPManager::runStart(QString name, std::shared_ptr<MCPClient> client) {
    QPointer<MCPManager> self(this);
    std::optional<std::vector<MCPToolInfo>> tools;
    QString error;
    try {
        co_await client->start();
        tools = co_await client->listTools();
    } catch (const std::exception& e) {
        error = describe(e);
    }
    // A start that a reload overtook must not touch the entry of the new list that has its
    // name: that one has a start of its own.
    if (!self || !self->isCurrent(name, client)) {
        client->stop();
        co_return;
    }
    Server* server = self->findServer(name);
    if (tools) {
        std::sort(tools->begin(), tools->end(),
                  [](const MCPToolInfo& a, const MCPToolInfo& b) { return a.name < b.name; });
        if (server) {
            server->state = ServerState::running();
            server->tools = std::move(*tools);
            Q_EMIT self->serversChanged();
        }
        Q_EMIT self->toolsChanged();
        // The model was warmed with the old tool list (the agent offers the shared one's).
        if (self.data() == &MCPManager::shared()) Warmup::shared().agentToolsChanged();
        co_return;
    }
    const QString line = client->stderrLastLine();
    if (server) {
        QStringList parts;
        if (!error.isEmpty()) parts << error;
        if (!line.isEmpty()) parts << line;
        server->state = ServerState::failed(parts.join(QStringLiteral(" — ")));
        Q_EMIT self->serversChanged();
    }
    client->stop();
}

void MCPManager::attach(const QString& name, std::shared_ptr<MCPClient> client,
                        std::vector<MCPToolInfo> tools) {
    m_clients[name] = std::move(client);
    m_servers.push_back(Server{name, MCPServerConfig{}, ServerState::running(), std::move(tools)});
    Q_EMIT serversChanged();
    Q_EMIT toolsChanged();
}

} // namespace nolvea
