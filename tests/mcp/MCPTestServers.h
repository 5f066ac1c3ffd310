#pragma once

#include "mcp/MCPClient.h"
#include "mcp/MCPError.h"
#include "support/Async.h"
#include "support/TestEnvironment.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>
#include <memory>

namespace nolvea::test {

// The MCP reference servers installed from npm by the setup script.
inline QString referenceServer(const QString& name) {
    return QStringLiteral(NOLVEA_SOURCE_DIR "/third_party/node/node_modules/@modelcontextprotocol/"
                                            "server-%1/dist/index.js")
        .arg(name);
}

// Our own scripted server (tests/data/mcp/scripted-server.mjs) in one of its scenarios.
inline QString scriptedServer() {
    return dataFile(QStringLiteral("mcp/scripted-server.mjs"));
}

inline std::shared_ptr<MCPClient> scriptedClient(const QString& scenario = QStringLiteral("normal"),
                                                 QMap<QString, QString> env = {}) {
    return MCPClient::create(QStringLiteral("roteiro"), QStringLiteral("node"),
                             {scriptedServer(), scenario}, std::move(env));
}

// The MCPError a task ends with; a task that succeeds fails the test.
template <typename T> MCPError failureOf(QCoro::Task<T>&& task) {
    try {
        await(std::move(task));
    } catch (const MCPError& e) {
        return e;
    }
    ADD_FAILURE() << "expected an MCPError";
    return MCPError::server({});
}

} // namespace nolvea::test
