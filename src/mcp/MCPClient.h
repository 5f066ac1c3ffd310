#pragma once

#include "mcp/MCPError.h"
#include "mcp/MCPLineBuffer.h"
#include "mcp/MCPToolInfo.h"
#include "support/Promise.h"
#include "support/json/JSONValue.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace nolvea {

class ChildProcess;
class ClockTimer;

// Speaks MCP (JSON-RPC 2.0, one object per line) with one server run as a child process
// through /usr/bin/env. Use from the thread that owns the event loop (the main thread):
// replies, timers and the child's exit are handled there. Calls may overlap; each request
// is settled exactly once, by its reply, its timeout or the end of the child.
//
// Order of use: start(), then any number of listTools()/callTool(), then stop(). A stopped
// client is never started again.
class MCPClient : public std::enable_shared_from_this<MCPClient> {
public:
    using Seconds = std::chrono::seconds;

    static constexpr Seconds initializeTimeout{120};
    static constexpr Seconds listTimeout{30};
    static constexpr Seconds callTimeout{120};
    static constexpr qsizetype stderrTailLength = 600;
    static constexpr qsizetype toolTextLength = 8000;
    // A line longer than this is a runaway server, not a message.
    static constexpr qsizetype maxLineBytes = 32 * 1024 * 1024;
    // Pages of tools/list followed before the server is judged to page forever.
    static constexpr int maxToolPages = 1000;
    // Time the child is given to end after SIGTERM before it is killed.
    static constexpr std::chrono::milliseconds stopGrace{2000};

    static std::shared_ptr<MCPClient> create(QString name, QString command, QStringList args = {},
                                             QMap<QString, QString> env = {});
    ~MCPClient();

    MCPClient(const MCPClient&) = delete;
    MCPClient& operator=(const MCPClient&) = delete;

    const QString& name() const { return m_name; }
    const QString& command() const { return m_command; }
    const QStringList& args() const { return m_args; }
    const QMap<QString, QString>& env() const { return m_env; }

    // Launches the child and performs the initialize handshake. Throws MCPError.
    QCoro::Task<> start();
    // Every tool of the server, in the server's order, following its pages.
    QCoro::Task<std::vector<MCPToolInfo>> listTools();
    // Runs one tool; its result flattened to text.
    QCoro::Task<QString> callTool(QString name, JSONValue arguments);
    // Fails every waiting request with notRunning, ends the child and forgets it.
    void stop();

    bool hasProcess() const;
    bool isRunning() const;
    qint64 processId() const;
    // The last 600 characters the child wrote to standard error.
    QString stderrTail() const;
    // Its last non-empty line, empty when there is none.
    QString stderrLastLine() const;

    // One JSON-RPC request; the reply's "result", or MCPError.
    QCoro::Task<JSONValue> request(QString method, JSONValue params, Seconds timeout);

    // The PATH a child sees: the user's tool folders before the inherited PATH.
    static QString childPath(const QString& home, const QString& inherited);
    // The text of a tools/call result; throws MCPError::server when it reports an error.
    static QString flattenToolResult(const JSONValue& result);
    // One element of a tools/list result; nothing when it is not a tool.
    static std::optional<MCPToolInfo> toolInfo(const JSONValue& item);

private:
    struct Waiting {
        Promise<JSONValue> promise;
        std::shared_ptr<ClockTimer> timer;
    };

    MCPClient(QString name, QString command, QStringList args, QMap<QString, QString> env);

    QCoro::Task<> launch();
    void send(const JSONValue& message);
    void receive(const QByteArray& bytes);
    void receiveError(const QByteArray& bytes);
    void handleLine(const QByteArray& line);
    void answerServerRequest(const QString& method, const JSONValue& id);
    void failAll(const MCPError& error);
    // The child broke the protocol: fail everything and end it.
    void abandon(const MCPError& error);
    void settle(qint64 id, const JSONValue* value, const MCPError* error);

    const QString m_name;
    const QString m_command;
    const QStringList m_args;
    const QMap<QString, QString> m_env;

    std::unique_ptr<ChildProcess> m_process;
    qint64 m_pid = 0;
    bool m_stopped = false;

    mutable std::mutex m_lock; // guards everything below
    MCPLineBuffer m_lines{maxLineBytes};
    qint64 m_nextID = 1;
    std::map<qint64, Waiting> m_pending;
    QString m_stderrTail;
    QStringDecoder m_stderrDecoder{QStringDecoder::Utf8};
};

} // namespace nolvea
