#include "speech/AgentTurn.h"

#include "agent/Agent.h"
#include "agent/AnswerSanitizer.h"
#include "core/AppState.h"
#include "support/Error.h"
#include "support/Graphemes.h"

namespace nolvea {

AgentTurn::AgentTurn(AppState& state, Clock& clock, Services services)
    : m_state(state)
    , m_clock(clock)
    , m_services(std::move(services)) {}

AgentTurn::~AgentTurn() {
    *m_alive = false;
}

QCoro::Task<AgentTurn::Result> AgentTurn::run(QString request, ScreenContext context,
                                              bool confirmActions, AgentUI& host,
                                              CancelToken token) {
    const auto alive = m_alive;
    const bool hasSelection = !context.selectedText.trimmed().isEmpty();
    m_state.setStatusText(hasSelection ? QStringLiteral("Lendo a seleção…")
                                       : QStringLiteral("Pensando…"));
    m_state.setLastRequest(request);
    m_state.setToolSymbol(std::nullopt);

    Agent agent;
    agent.client = m_services.client();
    agent.context = context;
    agent.tools = m_services.tools(context);
    agent.confirmActions = confirmActions;
    agent.dryRun = false;
    agent.log = m_services.log;
    agent.cancel = token;

    const bool continuing = !m_conversation.turns.empty() && m_conversation.isFresh();
    const bool isReply = m_state.awaitingReply() && continuing;
    setAwaitingReply(false);
    QString line = QStringLiteral("▶ [") + context.appName + QStringLiteral("] ") + request;
    if (continuing)
        line += QStringLiteral(" (continuação, %1 turnos)").arg(m_conversation.turns.size());
    m_services.log(line);

    const AgentOutcome outcome =
        co_await agent.run(request, m_conversation.history(), isReply, host);
    if (!*alive) throw Cancelled();
    token.check(); // Escape ended the run: it said "Cancelado" already

    m_services.log(QStringLiteral("■ ") + outcome.printed());
    m_conversation.append(agent.turnMessages);
    m_state.setConversationTurns(m_conversation.isFresh() ? int(m_conversation.turns.size()) : 0);

    switch (outcome.kind) {
    case AgentOutcome::Kind::cancelled:
        co_return Result{Result::Kind::cancelled, {}};
    case AgentOutcome::Kind::answer: {
        const QString text = AnswerSanitizer::clean(outcome.text);
        m_services.record(
            HistoryEntry::make(HistoryEntry::Kind::agent, context.appName, request, text));
        m_state.setHasUnseenResult(true);
        co_return Result{Result::Kind::answer, text};
    }
    case AgentOutcome::Kind::done:
        break;
    }
    const bool edit = hasSelection && outcome.text.contains(QStringLiteral("Seleção"));
    m_services.record(
        HistoryEntry::make(edit ? HistoryEntry::Kind::edit : HistoryEntry::Kind::agent,
                           context.appName, request, outcome.text));
    m_state.setHasUnseenResult(true);
    co_return Result{Result::Kind::done, outcome.text};
}

QString AgentTurn::status(const QString& summary) {
    if (Graphemes::count(summary) < 49) return summary;
    return Graphemes::first(summary, 46) + QStringLiteral("…");
}

void AgentTurn::setAwaitingReply(bool on) {
    m_awaitingReplyTask.reset();
    m_state.setAwaitingReply(on);
    if (!on) return;
    m_awaitingReplyTask = m_clock.schedule(awaitingReplyWindow, false, [this, alive = m_alive] {
        if (*alive) m_state.setAwaitingReply(false);
    });
}

void AgentTurn::newConversation() {
    m_conversation.turns.clear();
    m_conversation.lastActivity = Conversation::distantPast();
    setAwaitingReply(false);
    m_state.setConversationTurns(0);
    m_services.log(QStringLiteral("○ nova conversa"));
}

} // namespace nolvea
