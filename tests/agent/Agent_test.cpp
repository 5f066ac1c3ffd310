#include "agent/Agent.h"
#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "ai/LLMError.h"
#include "core/AppSettings.h"
#include "mcp/MCPManager.h"
#include "platform/Platform.h"
#include "platform/linux/PasswdUserAccount.h"
#include "support/Async.h"
#include "support/ScriptedModel.h"
#include "support/json/Schema.h"

#include <gtest/gtest.h>

using namespace nolvea;
using Call = test::ScriptedModel::Call;
using Kind = AgentTool::Kind;

namespace {

// The front end, recording what it was told and answering confirmations from a queue
// (approve when the queue is empty).
class RecordingUI : public AgentUI {
public:
    QStringList events;
    QList<ActionPreview> previews;
    QList<Confirmation> answers;
    std::function<void()> onConfirm;

    void agentProgress(const QString& text) override { events << "progress " + text; }
    void agentTool(const QString& symbol) override { events << "tool " + symbol; }
    QCoro::Task<Confirmation> agentConfirm(ActionPreview preview) override {
        events << "confirm " + preview.title;
        previews << preview;
        if (onConfirm) onConfirm();
        co_return answers.isEmpty() ? Confirmation{Confirmation::Choice::approve}
                                    : answers.takeFirst();
    }
};

// What the test tools were run with, by tool name.
struct Runs {
    QList<QPair<QString, JSONValue>> list;
    QStringList names() const {
        QStringList n;
        for (const auto& r : list)
            n << r.first;
        return n;
    }
};

AgentTool makeTool(const QString& name, Kind kind, Runs& runs,
                   std::function<QString(const JSONValue&)> body = {}) {
    AgentTool t;
    t.name = name;
    t.description = "Ferramenta " + name;
    t.parameters = Schema::object({{"x", Schema::string("x")}}, {});
    t.kind = kind;
    t.symbol = "sym." + name;
    t.progress = "fazendo " + name;
    t.group = "Testes";
    t.preview = [name](const JSONValue& args) {
        ActionPreview p;
        p.symbol = "sym." + name;
        p.title = "Fazer " + name;
        p.details = {args.compactString()};
        return p;
    };
    t.run = [name, &runs, body](JSONValue args) -> QCoro::Task<QString> {
        runs.list << qMakePair(name, args);
        co_return body ? body(args) : "feito " + name;
    };
    return t;
}

class AgentTest : public ::testing::Test {
protected:
    test::ScriptedModel model;
    RecordingUI ui;
    Runs runs;
    Agent agent;
    QStringList logLines;

    void SetUp() override {
        AppSettings::shared().setUserName("");
        agent.client = model.client();
        agent.confirmActions = false;
        agent.log = [this](const QString& line) { logLines << line; };
        agent.tools = {makeTool("ler", Kind::read, runs), makeTool("agir", Kind::action, runs),
                       makeTool("leve", Kind::light, runs), makeTool("sempre", Kind::action, runs)};
        agent.tools[3].alwaysConfirm = true;
        agent.tools[1].editableKey = "texto";
    }

    AgentOutcome run(const QString& request = "pedido") {
        return test::await(agent.run(request, {}, false, ui));
    }

    // role: text of each kept message, tool messages with their call id.
    QStringList kept() const {
        QStringList out;
        for (const ChatMessage& m : agent.turnMessages) {
            QString line = m.role + ": " + m.text();
            if (m.toolCallID) line += " [" + *m.toolCallID + "]";
            if (m.toolCalls) line += QString(" {%1 calls}").arg(m.toolCalls->size());
            out << line;
        }
        if (!out.isEmpty()) out.removeFirst(); // the context message
        return out;
    }
};

TEST_F(AgentTest, RunEnds) {
    struct Case {
        const char* label;
        std::function<void(test::ScriptedModel&)> script;
        AgentOutcome outcome;
        QStringList kept;
        int modelCalls;
    };
    const QList<Case> cases = {
        {"text answer",
         [](auto& m) { m.reply(" \n Oi! \n"); },
         AgentOutcome::answer("Oi!"),
         {"assistant: Oi!"},
         1},
        {"empty answer",
         [](auto& m) { m.reply(""); },
         AgentOutcome::done("Feito"),
         {"assistant: Feito."},
         1},
        {"only actions",
         [](auto& m) {
             m.reply("", {{"a", "agir", "{}"}, {"b", "leve", "{}"}});
         },
         AgentOutcome::done("feito agir · feito leve"),
         {"assistant:  {2 calls}", "tool: feito agir [a]", "tool: feito leve [b]",
          "assistant: Feito: feito agir; feito leve."},
         1},
        {"action and read, then text",
         [](auto& m) {
             m.reply("vou ver", {{"a", "agir", "{}"}, {"b", "ler", "{}"}});
             m.reply("Pronto.");
         },
         AgentOutcome::done("feito agir"),
         {"assistant: vou ver {2 calls}", "tool: feito agir [a]", "tool: feito ler [b]",
          "assistant: Pronto."},
         2},
        {"unknown tool",
         [](auto& m) {
             m.reply("", {{"a", "sumida", "{}"}});
             m.reply("Não deu.");
         },
         AgentOutcome::answer("Não deu."),
         {"assistant:  {1 calls}", "tool: Erro: ferramenta desconhecida sumida. [a]",
          "assistant: Não deu."},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        model.server.clearRequests();
        agent.turnMessages.clear();
        c.script(model);
        EXPECT_EQ(run(), c.outcome);
        EXPECT_EQ(kept(), c.kept);
        EXPECT_EQ(model.calls(), c.modelCalls);
    }
}

TEST_F(AgentTest, StepLimit) {
    for (int i = 0; i < 9; ++i)
        model.reply("", {{QString("c%1").arg(i), "ler", "{}"}});
    EXPECT_EQ(run(), AgentOutcome::answer("Não consegui concluir o pedido."));
    EXPECT_EQ(model.calls(), 8);
    EXPECT_EQ(kept().last(), "assistant: Não consegui concluir o pedido.");

    // With an action done along the way, the summary instead.
    model.server.clearRequests();
    model.reply("", {{"a", "agir", "{}"}, {"b", "ler", "{}"}});
    for (int i = 0; i < 8; ++i)
        model.reply("", {{QString("c%1").arg(i), "ler", "{}"}});
    EXPECT_EQ(run(), AgentOutcome::done("feito agir"));
    EXPECT_EQ(model.calls(), 8);
    EXPECT_EQ(kept().last(), "assistant: Feito: feito agir.");
}

TEST_F(AgentTest, ConfirmationTable) {
    struct Case {
        QString tool;
        bool confirmActions, dryRun;
        bool asks;
        QString result;
    };
    const QList<Case> cases = {
        {"ler", true, true, false, "feito ler"},
        {"agir", false, false, false, "feito agir"},
        {"agir", true, false, true, "feito agir"},
        {"sempre", false, false, true, "feito sempre"},
        {"agir", false, true, true, "(teste) Fazer agir"},
        {"leve", true, false, false, "feito leve"},
        {"leve", false, true, false, "(teste) Fazer leve"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.tool + (c.confirmActions ? " confirm" : "") + (c.dryRun ? " dry" : ""))
                         .toStdString());
        ui.events.clear();
        runs.list.clear();
        agent.confirmActions = c.confirmActions;
        agent.dryRun = c.dryRun;
        model.reply("", {{"a", c.tool, "{}"}});
        if (c.tool == "ler") model.reply("ok"); // only a read sends the loop back to the model
        run();
        EXPECT_EQ(ui.events.contains("confirm Fazer " + c.tool), c.asks);
        EXPECT_EQ(runs.names().contains(c.tool), !c.result.startsWith("(teste)"));
        EXPECT_EQ(agent.turnMessages.at(2).text(), c.result);
        QStringList expected{"tool sym." + c.tool};
        if (c.asks) expected << "confirm Fazer " + c.tool;
        expected << "progress fazendo " + c.tool;
        EXPECT_EQ(ui.events, expected);
    }
}

TEST_F(AgentTest, ADeclineMidBatchAnswersEveryCall) {
    agent.confirmActions = true;
    ui.answers = {Confirmation{Confirmation::Choice::approve},
                  Confirmation{Confirmation::Choice::decline}};
    model.reply("", {{"a", "agir", "{}"}, {"b", "sempre", "{}"}, {"c", "ler", "{}"}});
    EXPECT_EQ(run(), AgentOutcome::cancelled());
    EXPECT_EQ(kept(), (QStringList{"assistant:  {3 calls}", "tool: feito agir [a]",
                                   "tool: A pessoa cancelou esta ação. [b]",
                                   "tool: Não executada. [c]", "assistant: Ok, cancelei."}));
    EXPECT_EQ(runs.names(), QStringList{"agir"});

    // The next turn, built on these messages, is accepted: every call id has its answer.
    model.reply("Tudo bem.");
    const auto history = agent.turnMessages;
    Agent next;
    next.client = model.client();
    test::await(next.run("e agora?", history, false, ui));
    QStringList ids, answered;
    for (const auto& m : model.messages(model.calls() - 1)) {
        if (const auto calls = m["tool_calls"])
            for (const auto& c : calls->asArray())
                ids << c["id"]->asString().value_or("");
        if (const auto id = m["tool_call_id"]) answered << id->asString().value_or("");
    }
    EXPECT_EQ(answered, ids);
}

TEST_F(AgentTest, ASignInRequestOrAFailedActionEndsTheBatchAnsweringTheRest) {
    agent.tools.push_back(makeTool("entrar", Kind::read, runs, [](const JSONValue&) -> QString {
        throw ToolError::needsLogin("Entre na sua conta do Drive.");
    }));
    agent.tools.push_back(makeTool("quebrar", Kind::light, runs, [](const JSONValue&) -> QString {
        throw ToolError::invalid("Arquivo não existe.");
    }));
    model.reply("", {{"a", "entrar", "{}"}, {"b", "ler", "{}"}});
    EXPECT_EQ(run(), AgentOutcome::answer("Entre na sua conta do Drive."));
    EXPECT_EQ(kept(),
              (QStringList{"assistant:  {2 calls}", "tool: Entre na sua conta do Drive. [a]",
                           "tool: Não executada. [b]", "assistant: Entre na sua conta do Drive."}));

    model.reply("", {{"a", "agir", "{}"}, {"b", "quebrar", "{}"}, {"c", "leve", "{}"}});
    try {
        run();
        ADD_FAILURE() << "no failure";
    } catch (const ToolError& e) {
        EXPECT_EQ(e.kind(), ToolError::Kind::failed);
        EXPECT_EQ(e.message(), "Arquivo não existe.");
    }
    EXPECT_EQ(kept(),
              (QStringList{"assistant:  {3 calls}", "tool: feito agir [a]",
                           "tool: Erro: Arquivo não existe. [b]", "tool: Não executada. [c]"}));
}

TEST_F(AgentTest, ReadToolErrorsGoBackToTheModel) {
    agent.tools.push_back(makeTool("buscar", Kind::read, runs, [](const JSONValue& args) {
        return requiredArgument(args, "query");
    }));
    model.reply("", {{"a", "buscar", "não é json"}});
    model.reply("Faltou a busca.");
    EXPECT_EQ(run(), AgentOutcome::answer("Faltou a busca."));
    EXPECT_EQ(agent.turnMessages.at(2).text(), "Erro: Faltou o campo \"query\".");
    EXPECT_EQ(logLines, (QStringList{"→ buscar {}", "← Erro: Faltou o campo \"query\"."}));
}

TEST_F(AgentTest, ConfirmationEditsReachTheTool) {
    agent.confirmActions = true;
    Confirmation edited{Confirmation::Choice::approve, QString("novo"), {}};
    Confirmation overridden{Confirmation::Choice::alternate,
                            QString("novo"),
                            {{"texto", JSONValue("do cartão")}, {"para", JSONValue("ana")}}};
    ui.answers = {edited, overridden};
    model.reply("", {{"a", "agir", R"({"texto":"velho","x":1})"}});
    run();
    EXPECT_EQ(ui.previews.at(0).editableKey, QString("texto"));
    EXPECT_EQ(ui.previews.at(0).editableValue, "velho");
    EXPECT_EQ(runs.list.at(0).second, *JSONValue::parse(QByteArray(R"({"texto":"novo","x":1})")));
    model.reply("", {{"a", "agir", R"({"texto":"velho"})"}});
    run();
    EXPECT_EQ(
        runs.list.at(1).second,
        *JSONValue::parse(QByteArray(R"({"texto":"do cartão","para":"ana","open_only":true})")));
}

TEST_F(AgentTest, LogsEachCallAndItsResultCut) {
    agent.tools.push_back(
        makeTool("longo", Kind::light, runs, [](const JSONValue&) { return QString(500, u'é'); }));
    model.reply("", {{"a", "longo", R"({"b":2,"a":"x/y"})"}});
    run();
    EXPECT_EQ(logLines,
              (QStringList{"→ longo {\"a\":\"x/y\",\"b\":2}", "← " + QString(300, u'é')}));
    EXPECT_EQ(agent.turnMessages.at(2).text(), QString(500, u'é')); // the model gets it whole
}

TEST_F(AgentTest, SendsTheSystemHistoryAndContextMessages) {
    Platform::install<UserAccount>(std::make_shared<PasswdUserAccount>());
    AppSettings::shared().setUserName(" \tAna\t ");
    agent.context.appName = "Editor";
    agent.context.windowTitle = "notas.txt";
    agent.context.textBeforeCursor = QString(400, 'a') + "fim";
    agent.context.selectedText = QString(10000, 'b');
    agent.connectedIntegrations = [] { return QStringList{"drive", "notion"}; };
    ChatMessage earlier;
    earlier.role = "user";
    earlier.content = MessageContent::text("antes");
    model.reply("Oi");
    test::await(agent.run("que horas são", {earlier}, true, ui));
    Platform::uninstall<UserAccount>();

    const auto messages = model.messages(0);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0]["role"]->asString(), "system");
    const QString system = messages[0]["content"]->asString().value_or("");
    EXPECT_EQ(system.size(), 3073);
    EXPECT_TRUE(system.startsWith("Você é a Nolvea, uma assistente de voz no Mac."));
    EXPECT_TRUE(system.endsWith("se a data não estiver nela, não diga o dia da semana."));
    EXPECT_EQ(messages[1]["content"]->asString(), "antes");

    const QStringList lines = messages[2]["content"]->asString().value_or("").split('\n');
    EXPECT_EQ(lines[0], "<contexto>");
    EXPECT_TRUE(lines[1].startsWith("Agora: "));
    EXPECT_TRUE(lines[2].startsWith("Próximos dias: "));
    EXPECT_EQ(lines[3], "Nome da pessoa (para assinar e-mails): " + PasswdUserAccount().fullName());
    EXPECT_EQ(lines[4], "Como chamar a pessoa: Ana");
    EXPECT_EQ(lines[5], "App em foco: Editor — janela \"notas.txt\"");
    EXPECT_EQ(lines[6], "Texto antes do cursor: «" + QString(297, 'a') + "fim»");
    EXPECT_EQ(lines[7], "Texto selecionado:");
    EXPECT_EQ(lines[8], "<selecao>");
    EXPECT_EQ(lines[9], QString(6000, 'b'));
    EXPECT_EQ(lines[10], "</selecao>");
    EXPECT_EQ(lines[11], "Integrações conectadas: drive, notion");
    EXPECT_EQ(lines[12], "</contexto>");
    EXPECT_EQ(lines[13], "Resposta da pessoa à sua última pergunta: que horas são");
    EXPECT_EQ(lines.size(), 14);

    const auto request = model.request(0);
    EXPECT_EQ(request["temperature"]->asNumber(), 0.2);
    EXPECT_EQ(request["tools"]->asArray().size(), agent.tools.size());
    EXPECT_EQ(agent.turnMessages.size(), 2u); // context and answer; not the history
}

TEST_F(AgentTest, ContextLinesLeftOutOrReplaced) {
    AppSettings::shared().setUserName("  ");
    agent.context.appName = "Terminal";
    agent.context.selectedText = " \n\t ";
    const QString text = agent.userMessage("oi", false);
    EXPECT_TRUE(text.contains("\nApp em foco: Terminal\n"));
    EXPECT_FALSE(text.contains("Como chamar"));
    EXPECT_FALSE(text.contains("Texto antes do cursor"));
    EXPECT_TRUE(text.contains("\nNenhum texto selecionado.\n"));
    EXPECT_TRUE(text.contains("\nIntegrações conectadas: nenhuma\n"));
    EXPECT_TRUE(text.endsWith("</contexto>\nPedido: oi"));
    agent.context.appName.clear();
    EXPECT_FALSE(agent.userMessage("oi", false).contains("App em foco"));
}

TEST_F(AgentTest, WithoutItsOwnListTheContextNamesTheRunningServersOfTheManager) {
    agent.connectedIntegrations = nullptr;
    EXPECT_TRUE(agent.userMessage("oi", false).contains("\nIntegrações conectadas: nenhuma\n"));
    MCPManager::shared().attach("drive", nullptr, {});
    MCPManager::shared().attach("agenda", nullptr, {});
    EXPECT_TRUE(
        agent.userMessage("oi", false).contains("\nIntegrações conectadas: drive, agenda\n"));
    // Back to the servers of the (empty) configuration, for the tests that follow.
    MCPManager::shared().reload();
}

TEST_F(AgentTest, ModelFailuresPropagateAfterKeepingTheTurn) {
    model.fail(500, R"({"error":{"message":"quebrou"}})");
    EXPECT_ANY_THROW(run());
    EXPECT_EQ(agent.turnMessages.size(), 1u);
    EXPECT_EQ(agent.turnMessages[0].role, "user");
}

TEST_F(AgentTest, CancellationStopsTheRun) {
    // While the model thinks.
    model.replyLate("tarde demais", 5000);
    auto task = agent.run("pedido", {}, false, ui);
    ASSERT_TRUE(test::spinUntil([&] { return model.calls() == 1; }));
    agent.cancel.cancel();
    EXPECT_THROW(test::await(std::move(task)), Cancelled);
    EXPECT_EQ(agent.turnMessages.size(), 1u);

    // While a confirmation is open: the approved action still runs, then the run stops
    // before asking the model again.
    Agent second;
    second.client = model.client();
    second.tools = agent.tools;
    second.confirmActions = true;
    ui.onConfirm = [&] { second.cancel.cancel(); };
    model.server.clearRequests();
    model.reply("", {{"a", "agir", "{}"}, {"b", "ler", "{}"}});
    EXPECT_THROW(test::await(second.run("pedido", {}, false, ui)), Cancelled);
    EXPECT_EQ(model.calls(), 1);
    EXPECT_EQ(second.turnMessages.size(), 4u);

    // A tool that reports the cancellation: the rest of its batch is answered.
    Agent third;
    third.client = model.client();
    third.tools = {
        makeTool("parar", Kind::read, runs, [](const JSONValue&) -> QString { throw Cancelled(); }),
        makeTool("ler", Kind::read, runs)};
    model.reply("", {{"a", "parar", "{}"}, {"b", "ler", "{}"}});
    EXPECT_THROW(test::await(third.run("pedido", {}, false, ui)), Cancelled);
    ASSERT_EQ(third.turnMessages.size(), 4u);
    EXPECT_EQ(third.turnMessages[2].text(), "Erro: Cancelado.");
    EXPECT_EQ(third.turnMessages[3].text(), "Não executada.");
}

} // namespace
