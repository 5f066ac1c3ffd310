#include "app/Console.h"
#include "app/SelfTest.h"
#include "app/Stopwatch.h"
#include "mcp/MCPClient.h"
#include "mcp/MCPManager.h"
#include "support/Error.h"

namespace nolvea {

QCoro::Task<bool> SelfTest::mcp(QString request, QString command, QStringList serverArgs,
                                QStringList followUpRequests) {
    // Started here, never read from or written to the user's server list.
    const auto client = MCPClient::create(QString::fromUtf8("teste"), command, serverArgs);
    const Stopwatch clock;
    std::vector<MCPToolInfo> tools;
    try {
        co_await client->start();
        tools = co_await client->listTools();
    } catch (const std::exception& e) {
        // The server's last words end the line; its own final line feed would add an empty one.
        QString tail = client->stderrTail();
        while (tail.endsWith(u'\n') || tail.endsWith(u'\r'))
            tail.chop(1);
        Console::line(QString::fromUtf8("ERRO MCP: ") + describe(e) + u' ' + tail);
        client->stop();
        co_return false;
    }
    QStringList names;
    for (const MCPToolInfo& tool : tools)
        names << tool.name;
    Console::line(QString::fromUtf8("MCP iniciado em ") + Console::seconds(clock.seconds(), 1) +
                  QString::fromUtf8("s — ferramentas: ") + names.join(QString::fromUtf8(", ")));

    MCPManager::shared().attach(QString::fromUtf8("teste"), client, std::move(tools));
    bool passed = co_await agent(request, QString());
    passed = co_await followUps(followUpRequests) && passed;
    client->stop();
    co_return passed;
}

} // namespace nolvea
