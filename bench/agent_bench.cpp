// One agent turn against a loopback model: a reply with three tool calls (a calculation, a
// read and an action), then the closing answer. Measures the loop's own work around two real
// HTTP round trips: messages, tool declarations for the 20 native tools, argument parsing,
// confirmations and log lines.
#include "BenchMain.h"
#include "agent/Agent.h"
#include "agent/NativeTools.h"
#include "support/Async.h"
#include "support/ScriptedModel.h"
#include "support/json/Schema.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace nolvea;

namespace {

class ApprovingUI : public AgentUI {
public:
    void agentProgress(const QString&) override {}
    void agentTool(const QString&) override {}
    QCoro::Task<Confirmation> agentConfirm(ActionPreview) override {
        co_return Confirmation{Confirmation::Choice::approve};
    }
};

AgentTool quickTool(const QString& name, AgentTool::Kind kind) {
    AgentTool t;
    t.name = name;
    t.description = name;
    t.parameters = Schema::object({{"x", Schema::string("x")}}, {});
    t.kind = kind;
    t.preview = [](const JSONValue&) { return ActionPreview{}; };
    t.run = [](JSONValue) -> QCoro::Task<QString> { co_return QStringLiteral("ok"); };
    return t;
}

void BM_AgentTurnWithThreeToolCalls(benchmark::State& state) {
    test::ScriptedModel model;
    model.server.setHandler([](const test::HttpRequest& request) {
        // The first request of a turn has no tool results yet.
        const bool first = !request.body.contains("\"role\":\"tool\"");
        return test::HttpResponse::json(
            first ? test::ScriptedModel::body(
                        "", {{"a", "calculate", R"({"expression":"1.500 + 2,5"})"},
                             {"b", "ler", R"({"x":"1"})"},
                             {"c", "agir", R"({"x":"2"})"}})
                  : test::ScriptedModel::body("Pronto, deu 1.502,5.", {}));
    });
    ApprovingUI ui;
    std::vector<AgentTool> tools = NativeTools::all(ScreenContext::empty());
    tools.push_back(quickTool("ler", AgentTool::Kind::read));
    tools.push_back(quickTool("agir", AgentTool::Kind::action));
    int lines = 0;
    for (auto _ : state) {
        Agent agent;
        agent.client = model.client();
        agent.tools = tools;
        agent.log = [&lines](const QString&) { ++lines; };
        const AgentOutcome outcome = test::await(agent.run("quanto dá?", {}, false, ui));
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["log_lines"] = double(lines) / double(state.iterations());
}
BENCHMARK(BM_AgentTurnWithThreeToolCalls)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runInTestEnvironment<QCoreApplication>(argc, argv);
}
