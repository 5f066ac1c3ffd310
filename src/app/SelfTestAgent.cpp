#include "agent/Agent.h"
#include "agent/AnswerSanitizer.h"
#include "app/Console.h"
#include "app/DryRunUI.h"
#include "app/SelfTest.h"
#include "app/Stopwatch.h"
#include "speech/SpeechText.h"
#include "support/Error.h"

namespace nolvea {

std::vector<ChatMessage>& SelfTest::history() {
    static std::vector<ChatMessage> conversation;
    return conversation;
}

QCoro::Task<bool> SelfTest::agent(QString request, QString selection) {
    // Requests are read as if typed into a note.
    ScreenContext context;
    context.appName = QString::fromUtf8("Notas");
    context.bundleID = QString::fromUtf8("com.apple.Notes");
    context.selectedText = selection;

    Agent agent;
    agent.client = LLMClient::fromSettings();
    agent.context = context;
    agent.tools = Agent::availableTools(context);
    agent.confirmActions = true;
    agent.dryRun = true;
    agent.log = [](const QString& line) { Console::line(QString::fromUtf8("   ") + line); };
    DryRunUI ui;

    const Stopwatch clock;
    AgentOutcome outcome;
    try {
        outcome = co_await agent.run(request, history(), false, ui);
    } catch (const std::exception& e) {
        Console::line(QString::fromUtf8("ERRO: ") + describe(e));
        co_return false;
    }
    history().insert(history().end(), agent.turnMessages.begin(), agent.turnMessages.end());
    const QString seconds = Console::seconds(clock.seconds(), 1);
    if (outcome.kind == AgentOutcome::Kind::answer) {
        Console::line(QString::fromUtf8("RESPOSTA (") + seconds + QString::fromUtf8("s): ") +
                      AnswerSanitizer::clean(outcome.text));
        Console::line(QString::fromUtf8("FALADO: ") + SpeechText::prepare(outcome.text));
    } else {
        Console::line(QString::fromUtf8("RESULTADO (") + seconds + QString::fromUtf8("s): ") +
                      outcome.printed());
    }
    co_return true;
}

QCoro::Task<bool> SelfTest::followUps(QStringList requests) {
    bool passed = true;
    for (const QString& request : requests) {
        Console::line(QString::fromUtf8("\n↪ ") + request);
        passed = co_await agent(request, QString()) && passed;
    }
    co_return passed;
}

} // namespace nolvea
