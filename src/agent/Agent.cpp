#include "agent/Agent.h"

#include "agent/AgentDate.h"
#include "agent/MCPAgentTools.h"
#include "agent/NativeTools.h"
#include "agent/ToolError.h"
#include "ai/ToolSpec.h"
#include "core/AppSettings.h"
#include "mcp/MCPManager.h"
#include "platform/Platform.h"
#include "platform/UserAccount.h"
#include "support/Graphemes.h"
#include "support/Promise.h"

#include <QCoreApplication>

#include <variant>

namespace nolvea {

namespace {

// The servers that are up, in the manager's order.
QStringList runningIntegrations(const MCPManager& manager) {
    QStringList names;
    for (const auto& server : manager.servers())
        if (server.state.kind == MCPManager::ServerState::Kind::running) names << server.name;
    return names;
}

} // namespace

namespace {

// clang-format off
const char* const kSystemText =
    "Você é a Nolvea, uma assistente de voz no Mac. A pessoa falou um pedido (transcrito automaticamente; pode ter pequenos erros de reconhecimento). O <contexto> traz a data/hora atual, o app em foco e o texto selecionado. Resolva usando as ferramentas.\n"
    "\n"
    "Regras:\n"
    "- Para agir (lembrete, evento, mensagem, abrir algo, buscar arquivo…), chame a ferramenta certa. Datas sempre em ISO 8601 com fuso. Para dias da semana (\"sexta\", \"segunda que vem\"), use a tabela de próximos dias do contexto.\n"
    "- Se houver texto selecionado e o pedido for para alterá-lo (reescrever, traduzir, resumir, corrigir, formatar, mudar o tom), chame replace_selection com o texto final completo.\n"
    "- Se o pedido for para escrever algo (mensagem, resposta, texto) no lugar onde a pessoa está, chame insert_text com o texto pronto, sem comentários.\n"
    "- Para mandar e-mail, chame send_email direto com o e-mail já redigido (assunto e corpo completos, com saudação e despedida). Em \"to\" pode ir o nome da pessoa: o app acha o endereço nos Contatos, e a pessoa revisa tudo no cartão antes de enviar. Não chame find_contact antes, e nunca desista por falta de endereço: o cartão deixa a pessoa completar. Para responder um e-mail recebido, use list_recent_emails para achar a mensagem e passe o id em reply_to_id.\n"
    "- Não invente contatos, telefones, e-mails, caminhos ou links: descubra com as ferramentas.\n"
    "- Serviços online (Google Drive, Docs, Gmail, Google Agenda, Notion…) só estão disponíveis se houver ferramentas mcp_ deles (veja \"Integrações conectadas\" no contexto). Se a pessoa pedir um serviço que não está conectado, responda em texto que ele não está conectado e que dá para ligar em Ajustes › Integrações — não abra sites nem troque por busca nos arquivos do Mac sem avisar.\n"
    "- Os calendários e o Mail do Mac são os das contas configuradas no macOS; ao responder, cite a conta que o resultado informar, sem supor que é Google.\n"
    "- Para perguntas de conhecimento ou conversa, responda direto em texto, curto (até 3 frases), sem ferramentas.\n"
    "- Contas: nunca calcule de cabeça — use sempre a ferramenta calculate e responda com o resultado dela.\n"
    "- Esta é uma conversa contínua: use as mensagens anteriores como contexto (\"responde esse e-mail\", \"e pra sexta?\", \"manda pra ele também\" se referem ao que já foi falado).\n"
    "- Suas respostas em texto são lidas em voz alta: escreva como numa conversa falada, natural e curta, sem markdown, sem tabelas e sem listas longas. Se precisar de uma informação para continuar, termine com uma pergunta curta.\n"
    "- E-mails: ao ler a caixa de entrada (list_recent_emails ou ferramentas do Gmail), responda com um RESUMO em linguagem natural — quem escreveu, sobre o quê, o que pedem e se precisa de resposta —, começando pelo mais importante. Nunca mostre IDs, message/thread IDs, links, cabeçalhos ou códigos; os IDs servem só para você usar nas ferramentas (ex.: reply_to_id).\n"
    "- Sempre em português do Brasil, tratando a pessoa por \"você\" (nunca \"tu\"/\"tens\").\n"
    "- Dia da semana de uma data: consulte a tabela de próximos dias; se a data não estiver nela, não diga o dia da semana."
    ;
// clang-format on

constexpr qsizetype kBeforeCursorCharacters = 300;
constexpr qsizetype kSelectionCharacters = 6000;
constexpr qsizetype kLoggedResultCharacters = 300;

ChatMessage toolMessage(const QString& text, const QString& callID) {
    ChatMessage m = ChatMessage::ofText(QStringLiteral("tool"), text);
    m.toolCallID = callID;
    return m;
}

// Trimmed of spaces and tabs only.
QString trimBlanks(const QString& text) {
    qsizetype start = 0, end = text.size();
    while (start < end && (text.at(start) == u' ' || text.at(start) == u'\t'))
        ++start;
    while (end > start && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
        --end;
    return text.mid(start, end - start);
}

// Settles `promise` with what `task` gives; runs on, detached, when nobody waits any more.
QCoro::Task<> forward(QCoro::Task<ChatMessage> task, Promise<ChatMessage> promise) {
    try {
        promise.resolve(co_await std::move(task));
    } catch (...) {
        promise.reject(std::current_exception());
    }
}

// How a tool's failure ends (or does not end) the run.
struct Failure {
    enum class Kind { cancelled, needsLogin, other } kind;
    QString message;
};

Failure classify(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Cancelled& e) {
        return {Failure::Kind::cancelled, e.message()};
    } catch (const ToolError& e) {
        if (e.kind() == ToolError::Kind::needsLogin)
            return {Failure::Kind::needsLogin, e.message()};
        return {Failure::Kind::other, e.message()};
    } catch (const std::exception& e) {
        return {Failure::Kind::other, describe(e)};
    } catch (...) {
        return {Failure::Kind::other, describe(std::current_exception())};
    }
}

} // namespace

const ChatMessage& Agent::systemMessage() {
    static const ChatMessage message =
        ChatMessage::ofText(QStringLiteral("system"), QString::fromUtf8(kSystemText));
    return message;
}

std::vector<AgentTool> Agent::availableTools(const ScreenContext& context) {
    std::vector<AgentTool> tools = NativeTools::all(context);
    std::vector<AgentTool> mcp = mcpAgentTools(MCPManager::shared());
    tools.insert(tools.end(), std::make_move_iterator(mcp.begin()),
                 std::make_move_iterator(mcp.end()));
    return tools;
}

QString Agent::userMessage(const QString& request, bool isReply) const {
    QStringList lines{QStringLiteral("<contexto>"),
                      QStringLiteral("Agora: ") + AgentDate::nowDescription(),
                      QStringLiteral("Próximos dias: ") + AgentDate::upcomingDays()};
    const auto account = Platform::find<UserAccount>();
    lines << QStringLiteral("Nome da pessoa (para assinar e-mails): ") +
                 (account ? account->fullName() : QString());
    const QString callName = trimBlanks(AppSettings::shared().userName());
    if (!callName.isEmpty()) lines << QStringLiteral("Como chamar a pessoa: ") + callName;
    if (!context.appName.isEmpty()) {
        QString app = QStringLiteral("App em foco: ") + context.appName;
        if (!context.windowTitle.isEmpty())
            app += QStringLiteral(" — janela \"") + context.windowTitle + u'"';
        lines << app;
    }
    if (!context.textBeforeCursor.isEmpty())
        lines << QStringLiteral("Texto antes do cursor: «") +
                     Graphemes::last(context.textBeforeCursor, kBeforeCursorCharacters) + u'»';
    if (!context.selectedText.trimmed().isEmpty())
        lines << QStringLiteral("Texto selecionado:\n<selecao>\n") +
                     Graphemes::first(context.selectedText, kSelectionCharacters) +
                     QStringLiteral("\n</selecao>");
    else
        lines << QStringLiteral("Nenhum texto selecionado.");
    const QStringList servers =
        connectedIntegrations ? connectedIntegrations() : runningIntegrations(MCPManager::shared());
    lines << QStringLiteral("Integrações conectadas: ") +
                 (servers.isEmpty() ? QStringLiteral("nenhuma")
                                    : servers.join(QStringLiteral(", ")));
    lines << QStringLiteral("</contexto>");
    lines << (isReply ? QStringLiteral("Resposta da pessoa à sua última pergunta: ")
                      : QStringLiteral("Pedido: ")) +
                 request;
    return lines.join(u'\n');
}

namespace {

ChatMessage assistant(const QString& text) {
    return ChatMessage::ofText(QStringLiteral("assistant"), text);
}

// How a run ends: its outcome or the error it throws, and the assistant's last message when
// the turn gets one after the tool answers.
struct Ending {
    std::variant<AgentOutcome, std::exception_ptr> result;
    std::optional<ChatMessage> closing{};

    static Ending with(AgentOutcome outcome, std::optional<ChatMessage> closing = std::nullopt) {
        return {std::move(outcome), std::move(closing)};
    }
    template <typename E> static Ending failing(E error) {
        return {std::make_exception_ptr(std::move(error))};
    }
    static Ending failing(std::exception_ptr error) { return {std::move(error)}; }
};

// What answering one tool call gave: whether the model must see the result, or the end.
struct Answered {
    bool followUp = false;
    std::optional<Ending> ending{};
};

// One run's conversation: model calls and the tool calls they ask for, until an ending.
class Turn {
public:
    Turn(Agent& agent, AgentUI& ui, std::vector<ChatMessage>& messages)
        : m_agent(agent)
        , m_ui(ui)
        , m_messages(messages) {
        for (const AgentTool& tool : agent.tools)
            m_specs.push_back(tool.spec());
    }

    QCoro::Task<Ending> converse() {
        for (int modelCalls = 1;; ++modelCalls) {
            ChatMessage reply;
            try {
                reply = co_await askModel();
            } catch (...) {
                co_return Ending::failing(std::current_exception());
            }
            if (m_agent.cancel.isCancelled()) co_return Ending::failing(Cancelled());

            const std::vector<ToolCall> calls = reply.toolCalls.value_or(std::vector<ToolCall>{});
            if (calls.empty()) co_return textAnswer(reply);

            ChatMessage asking = assistant(reply.text());
            asking.toolCalls = calls;
            asking.providerBlocks = reply.providerBlocks;
            m_messages.push_back(asking);

            bool followUp = false;
            for (std::size_t i = 0; i < calls.size(); ++i) {
                Answered answered = co_await answerCall(calls[i]);
                if (answered.ending) {
                    // Every call of a batch gets its answer, also when the run ends part-way:
                    // a server rejects a conversation in which a tool call has none.
                    for (std::size_t j = i + 1; j < calls.size(); ++j)
                        m_messages.push_back(
                            toolMessage(QStringLiteral("Não executada."), calls[j].id));
                    co_return std::move(*answered.ending);
                }
                followUp = followUp || answered.followUp;
            }

            if (!followUp) co_return summary();
            if (modelCalls >= Agent::maxSteps) {
                if (m_done.isEmpty()) {
                    const QString text = QStringLiteral("Não consegui concluir o pedido.");
                    co_return Ending::with(AgentOutcome::answer(text), assistant(text));
                }
                co_return summary();
            }
            if (m_agent.cancel.isCancelled()) co_return Ending::failing(Cancelled());
        }
    }

private:
    // One model call. A cancellation does not wait for the model: the reply, when it comes,
    // is dropped.
    QCoro::Task<ChatMessage> askModel() {
        m_agent.cancel.check();
        Promise<ChatMessage> reply;
        const auto registration = m_agent.cancel.onCancel([reply]() mutable {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [reply]() mutable { reply.reject(std::make_exception_ptr(Cancelled())); },
                Qt::QueuedConnection);
        });
        forward(m_agent.client.chat(m_messages, m_specs, Agent::temperature, std::nullopt,
                                    Agent::modelTimeout),
                reply);
        co_return co_await reply;
    }

    // Looks the tool up, confirms and runs it, and answers the call with its result.
    QCoro::Task<Answered> answerCall(const ToolCall& call) {
        const AgentTool* tool = find(call.function.name);
        if (!tool) {
            m_messages.push_back(toolMessage(
                QStringLiteral("Erro: ferramenta desconhecida %1.").arg(call.function.name),
                call.id));
            co_return Answered{true};
        }

        JSONValue args =
            JSONValue::parse(call.function.arguments).value_or(JSONValue(JSONValue::Object{}));
        if (m_agent.log)
            m_agent.log(QStringLiteral("→ ") + tool->name + u' ' + args.compactString());
        m_ui.agentTool(tool->symbol);

        if (tool->kind == AgentTool::Kind::action &&
            (m_agent.confirmActions || tool->alwaysConfirm || m_agent.dryRun)) {
            std::optional<JSONValue> confirmed = co_await confirm(*tool, std::move(args));
            if (!confirmed) {
                m_messages.push_back(
                    toolMessage(QStringLiteral("A pessoa cancelou esta ação."), call.id));
                co_return Answered{false, Ending::with(AgentOutcome::cancelled(),
                                                       assistant(QStringLiteral("Ok, cancelei.")))};
            }
            args = std::move(*confirmed);
        }

        m_ui.agentProgress(tool->progress);
        QString result;
        try {
            result = co_await runTool(*tool, args);
        } catch (...) {
            const Failure f = classify(std::current_exception());
            if (f.kind == Failure::Kind::needsLogin) {
                m_messages.push_back(toolMessage(f.message, call.id));
                co_return Answered{
                    false, Ending::with(AgentOutcome::answer(f.message), assistant(f.message))};
            }
            result = QStringLiteral("Erro: ") + f.message;
            // A read tool's error goes back to the model; any other failure ends the run.
            if (f.kind == Failure::Kind::cancelled || tool->kind != AgentTool::Kind::read) {
                m_messages.push_back(toolMessage(result, call.id));
                co_return Answered{false, f.kind == Failure::Kind::cancelled
                                              ? Ending::failing(Cancelled())
                                              : Ending::failing(ToolError::failed(f.message))};
            }
        }

        if (m_agent.log)
            m_agent.log(QStringLiteral("← ") + Graphemes::first(result, kLoggedResultCharacters));
        m_messages.push_back(toolMessage(result, call.id));
        if (tool->kind == AgentTool::Kind::read) co_return Answered{true};
        m_done << result;
        co_return Answered{};
    }

    // Shows the card; the arguments as the person left them, or nothing when declined.
    QCoro::Task<std::optional<JSONValue>> confirm(const AgentTool& tool, JSONValue args) {
        ActionPreview preview = tool.preview(args);
        if (tool.editableKey) {
            preview.editableKey = *tool.editableKey;
            preview.editableValue = args.optional(*tool.editableKey).value_or(QString());
        }
        const Confirmation answer = co_await m_ui.agentConfirm(preview);
        if (answer.choice == Confirmation::Choice::decline) co_return std::nullopt;
        if (!args.isObject()) co_return args;
        JSONValue::Object edited = args.asObject();
        if (tool.editableKey && answer.editedValue)
            edited[*tool.editableKey] = JSONValue(*answer.editedValue);
        for (const auto& [key, value] : answer.edits)
            edited[key] = value;
        if (answer.choice == Confirmation::Choice::alternate)
            edited[QStringLiteral("open_only")] = JSONValue(true);
        co_return JSONValue(std::move(edited));
    }

    // A dry run only names what an action would do.
    QCoro::Task<QString> runTool(const AgentTool& tool, JSONValue args) {
        if (tool.kind != AgentTool::Kind::read && m_agent.dryRun)
            co_return QStringLiteral("(teste) ") + tool.preview(args).title;
        co_return co_await tool.run(std::move(args));
    }

    Ending textAnswer(const ChatMessage& reply) const {
        const QString text = reply.text().trimmed();
        ChatMessage closing = assistant(text.isEmpty() ? QStringLiteral("Feito.") : text);
        closing.providerBlocks = reply.providerBlocks;
        if (!m_done.isEmpty())
            return Ending::with(AgentOutcome::done(m_done.join(QStringLiteral(" · "))), closing);
        if (text.isEmpty())
            return Ending::with(AgentOutcome::done(QStringLiteral("Feito")), closing);
        return Ending::with(AgentOutcome::answer(text), closing);
    }

    // The end after actions: what was done.
    Ending summary() const {
        return Ending::with(
            AgentOutcome::done(m_done.join(QStringLiteral(" · "))),
            assistant(QStringLiteral("Feito: ") + m_done.join(QStringLiteral("; ")) + u'.'));
    }

    const AgentTool* find(const QString& name) const {
        for (const AgentTool& tool : m_agent.tools)
            if (tool.name == name) return &tool;
        return nullptr;
    }

    Agent& m_agent;
    AgentUI& m_ui;
    std::vector<ChatMessage>& m_messages;
    std::vector<ToolSpec> m_specs;
    QStringList m_done; // the results of the actions run so far
};

} // namespace

QCoro::Task<AgentOutcome> Agent::run(QString request, std::vector<ChatMessage> history,
                                     bool isReply, AgentUI& ui) {
    std::vector<ChatMessage> messages{systemMessage()};
    messages.insert(messages.end(), history.begin(), history.end());
    const std::size_t base = messages.size();
    messages.push_back(ChatMessage::ofText(QStringLiteral("user"), userMessage(request, isReply)));

    Turn turn(*this, ui, messages);
    Ending ending = co_await turn.converse();
    if (ending.closing) messages.push_back(std::move(*ending.closing));
    turnMessages.assign(messages.begin() + qsizetype(base), messages.end());
    if (const auto* error = std::get_if<std::exception_ptr>(&ending.result))
        std::rethrow_exception(*error);
    co_return std::get<AgentOutcome>(ending.result);
}

} // namespace nolvea
