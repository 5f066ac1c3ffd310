#pragma once

#include "mcp/MCPClient.h"
#include "mcp/MCPConfigFile.h"
#include "mcp/MCPError.h"
#include "mcp/MCPToolInfo.h"
#include "support/FileWriteError.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace nolvea {

// Owner of the MCP servers: reads mcp.json from the data folder, starts one MCPClient per
// enabled server and keeps each server's state and tools for the screens and the agent.
// Lives on the main thread. Every write of the file goes through here and is followed by a
// reload, which stops every client and rebuilds everything from the file.
//
// Users: the app starts it with reload() and calls stopAll() on quit; the settings page and
// GoogleConnect change the file with setServer()/setDisabled(); the agent reads offeredTools().
class MCPManager : public QObject {
    Q_OBJECT
public:
    struct ServerState {
        enum class Kind { failed, disabled, starting, running };
        Kind kind = Kind::starting;
        QString message; // the text to show, for `failed` only

        static ServerState failed(QString message) { return {Kind::failed, std::move(message)}; }
        static ServerState disabled() { return {Kind::disabled, {}}; }
        static ServerState starting() { return {Kind::starting, {}}; }
        static ServerState running() { return {Kind::running, {}}; }

        friend bool operator==(const ServerState&, const ServerState&) = default;
    };

    struct Server {
        QString name;
        MCPServerConfig config;
        ServerState state;
        std::vector<MCPToolInfo> tools; // sorted by name
    };

    // `configPath` is the file to manage; the shared manager uses mcp.json in the data folder.
    explicit MCPManager(QString configPath, QObject* parent = nullptr);
    ~MCPManager() override;

    static MCPManager& shared();

    const QString& configPath() const { return m_configPath; }

    // In the order of their names.
    const std::vector<Server>& servers() const { return m_servers; }
    const Server* server(const QString& name) const;
    // Why the file could not be read (or written); nothing when all is well.
    const std::optional<MCPError>& configError() const { return m_configError; }
    // The client of each started server by name.
    std::shared_ptr<MCPClient> client(const QString& name) const;

    // Stops everything and rebuilds from the file; the servers start in the background.
    void reload();
    // Stops every client (the app's last act).
    void stopAll();
    // Writes the file (private to its owner: it may hold secrets) and reloads. Returns the
    // error when the write failed; the reload happens either way.
    std::optional<MCPError> save(const MCPConfigFile& file);
    // The file, or an invalid-configuration error when it cannot be read or decoded.
    std::variant<MCPConfigFile, MCPError> readConfig() const;
    // Adds or replaces one entry and saves. Never replaces a file it cannot read: the
    // reason is returned and the file stays as it is.
    std::optional<MCPError> setServer(const QString& name, const MCPServerConfig& config);
    // Switches one server on or off in the file; nothing when it has no such server.
    void setDisabled(const QString& name, bool disabled);
    // Writes the default file when there is none; the failure when that could not be done.
    std::optional<FileWriteError> ensureConfigExists();
    // Records an already started client as a running server (the developer self-test).
    void attach(const QString& name, std::shared_ptr<MCPClient> client,
                std::vector<MCPToolInfo> tools);

    // A running server's tool under the name the agent offers it by.
    struct OfferedTool {
        QString name;
        QString server;
        MCPToolInfo tool;
    };
    // The tools of every running server: servers in list order, tools by name. Their names
    // are unique and fit [A-Za-z0-9_-]{1,64}; toolTarget() leads one back.
    std::vector<OfferedTool> offeredTools();
    struct ToolTarget {
        QString server;
        QString tool;
        friend bool operator==(const ToolTarget&, const ToolTarget&) = default;
    };
    // The server and tool behind a name the last offeredTools() handed out.
    std::optional<ToolTarget> toolTarget(const QString& agentToolName) const;

    // "mcp_" + server + "_" + tool, made safe for the model: other characters become "_",
    // accents are dropped, at most 64 characters.
    static QString toolName(const QString& server, const QString& tool);
    // Names that begin like get_, list_, search_ … (any case).
    static bool looksReadOnly(const QString& name);
    // The server's message asks the person to sign in to Google.
    static bool isLoginRequest(const QString& message);
    // The Google sign-in address in the message, when there is a valid one.
    static std::optional<QUrl> loginPage(const QString& message);
    // Opens that address in the browser; nothing when there is none.
    static void openLoginPage(const QString& message);

Q_SIGNALS:
    void serversChanged();
    void configErrorChanged();
    // A server's tool list became known: what the model is offered changed.
    void toolsChanged();

private:
    void start(const Server& server);
    QCoro::Task<> runStart(QString name, std::shared_ptr<MCPClient> client);
    Server* findServer(const QString& name);
    void setConfigError(std::optional<MCPError> error);
    // The start is still the current one: a reload since then replaced its client.
    bool isCurrent(const QString& name, const std::shared_ptr<MCPClient>& client) const;

    const QString m_configPath;
    std::vector<Server> m_servers;
    std::optional<MCPError> m_configError;
    std::map<QString, std::shared_ptr<MCPClient>> m_clients;
    std::map<QString, ToolTarget> m_toolTargets;
};

} // namespace nolvea
