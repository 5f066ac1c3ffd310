// 1,000 tools/call round trips against the reference server-everything: our client beside the
// official TypeScript SDK client doing the same calls in the same run. Only the calls are
// timed (not the start of node and the handshake); the ratio SDK / ours is printed at the end.
#include "mcp/MCPClient.h"
#include "support/Async.h"

#include "mcp/MCPTestServers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <cstdio>

using namespace nolvea;

namespace {

constexpr int kCalls = 1000;
double g_oursMs = 0;
double g_sdkMs = 0;

QString nodeModules() {
    return QStringLiteral(NOLVEA_SOURCE_DIR "/third_party/node/node_modules/@modelcontextprotocol");
}

JSONValue echoArguments(const QString& message) {
    return JSONValue::object({{QStringLiteral("message"), message}});
}

QCoro::Task<> echoes(std::shared_ptr<MCPClient> client, int calls) {
    for (int i = 0; i < calls; ++i) {
        const QString message = QStringLiteral("mensagem %1").arg(i);
        const QString text =
            co_await client->callTool(QStringLiteral("echo"), echoArguments(message));
        if (!text.endsWith(message)) throw std::runtime_error("wrong echo");
    }
}

void BM_NolveaClient(benchmark::State& state) {
    auto client = MCPClient::create(QStringLiteral("everything"), QStringLiteral("node"),
                                    {test::referenceServer(QStringLiteral("everything"))});
    test::await(client->start());
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        test::await(echoes(client, kCalls));
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000);
        g_oursMs = ms;
    }
    state.counters["us_per_call"] = g_oursMs * 1000 / kCalls;
    client->stop();
}

void BM_TypeScriptSDKClient(benchmark::State& state) {
    for (auto _ : state) {
        QProcess node;
        node.start(QStringLiteral("node"),
                   {QStringLiteral(NOLVEA_SOURCE_DIR "/bench/mcp_sdk_client.mjs"),
                    nodeModules() + QStringLiteral("/sdk"),
                    test::referenceServer(QStringLiteral("everything")), QString::number(kCalls)});
        if (!node.waitForFinished(300000) || node.exitCode() != 0) {
            state.SkipWithError(("SDK client failed: " + node.readAllStandardError()).constData());
            return;
        }
        const QByteArray out = node.readAllStandardOutput().trimmed();
        const auto reply = JSONValue::parse(out.mid(out.lastIndexOf('\n') + 1));
        const double ms = reply ? (*reply)[QStringLiteral("ms")]->asNumber().value_or(0) : 0;
        state.SetIterationTime(ms / 1000);
        g_sdkMs = ms;
    }
    state.counters["us_per_call"] = g_sdkMs * 1000 / kCalls;
}

} // namespace

BENCHMARK(BM_NolveaClient)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeScriptSDKClient)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_oursMs > 0 && g_sdkMs > 0)
        std::printf("\n%d tools/call round trips (last run): ours %.1f ms, TypeScript SDK %.1f ms; "
                    "SDK / ours = %.2f\n",
                    kCalls, g_oursMs, g_sdkMs, g_sdkMs / g_oursMs);
    return 0;
}
