#include "agent/Agent.h"

#include "agent/AgentDate.h"
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
    std::vector<AgentTool> mcp = MCPManager::shared().agentTools();
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

QCoro::Task<ChatMessage> Agent::ask(std::vector<ChatMessage> messages,
                                    std::vector<ToolSpec> specs) {
    cancel.check();
    Promise<ChatMessage> reply;
    // A cancellation does not wait for the model: the reply, when it comes, is dropped.
    const auto registration = cancel.onCancel([reply]() mutable {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [reply]() mutable { reply.reject(std::make_exception_ptr(Cancelled())); },
            Qt::QueuedConnection);
    });
    forward(
        client.chat(std::move(messages), std::move(specs), temperature, std::nullopt, modelTimeout),
        reply);
    co_return co_await reply;
}

QCoro::Task<AgentOutcome> Agent::run(QString request, std::vector<ChatMessage> history,
                                     bool isReply, AgentUI& ui) {
    std::vector<ChatMessage> messages{systemMessage()};
    messages.insert(messages.end(), history.begin(), history.end());
    const std::size_t base = messages.size();
    messages.push_back(ChatMessage::ofText(QStringLiteral("user"), userMessage(request, isReply)));
    const auto keep = [&] {
        turnMessages.assign(messages.begin() + qsizetype(base), messages.end());
    };

    std::vector<ToolSpec> specs;
    for (const AgentTool& tool : tools)
        specs.push_back(tool.spec());

    QStringList done;
    int modelCalls = 0;
    for (;;) {
        // One model call.
        ChatMessage reply;
        std::exception_ptr error;
        try {
            ++modelCalls;
            reply = co_await ask(messages, specs);
        } catch (...) {
            error = std::current_exception();
        }
        if (!error && cancel.isCancelled()) error = std::make_exception_ptr(Cancelled());
        if (error) {
            keep();
            std::rethrow_exception(error);
        }

        const std::vector<ToolCall> calls = reply.toolCalls.value_or(std::vector<ToolCall>{});
        if (calls.empty()) {
            // A text answer.
            const QString text = reply.text().trimmed();
            ChatMessage closing = ChatMessage::ofText(
                QStringLiteral("assistant"), text.isEmpty() ? QStringLiteral("Feito.") : text);
            closing.providerBlocks = reply.providerBlocks;
            messages.push_back(closing);
            keep();
            if (!done.isEmpty()) co_return AgentOutcome::done(done.join(QStringLiteral(" · ")));
            if (text.isEmpty()) co_return AgentOutcome::done(QStringLiteral("Feito"));
            co_return AgentOutcome::answer(text);
        }

        ChatMessage turn = ChatMessage::ofText(QStringLiteral("assistant"), reply.text());
        turn.toolCalls = calls;
        turn.providerBlocks = reply.providerBlocks;
        messages.push_back(turn);

        // Every call of a batch gets its answer, also when the run ends part-way: a server
        // rejects a conversation in which a tool call has none.
        const auto answerTheRest = [&](std::size_t from) {
            for (std::size_t j = from; j < calls.size(); ++j)
                messages.push_back(toolMessage(QStringLiteral("Não executada."), calls[j].id));
        };

        bool followUp = false;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            const ToolCall& call = calls[i];
            const AgentTool* tool = nullptr;
            for (const AgentTool& t : tools)
                if (t.name == call.function.name) {
                    tool = &t;
                    break;
                }
            if (!tool) {
                messages.push_back(toolMessage(
                    QStringLiteral("Erro: ferramenta desconhecida %1.").arg(call.function.name),
                    call.id));
                followUp = true;
                continue;
            }

            JSONValue args =
                JSONValue::parse(call.function.arguments).value_or(JSONValue(JSONValue::Object{}));
            if (log) log(QStringLiteral("→ ") + tool->name + u' ' + args.compactString());
            ui.agentTool(tool->symbol);

            const bool confirm = tool->kind == AgentTool::Kind::action &&
                                 (confirmActions || tool->alwaysConfirm || dryRun);
            if (confirm) {
                ActionPreview preview = tool->preview(args);
                if (tool->editableKey) {
                    preview.editableKey = *tool->editableKey;
                    preview.editableValue = args.optional(*tool->editableKey).value_or(QString());
                }
                const Confirmation answer = co_await ui.agentConfirm(preview);
                if (answer.choice == Confirmation::Choice::decline) {
                    messages.push_back(
                        toolMessage(QStringLiteral("A pessoa cancelou esta ação."), call.id));
                    answerTheRest(i + 1);
                    messages.push_back(ChatMessage::ofText(QStringLiteral("assistant"),
                                                           QStringLiteral("Ok, cancelei.")));
                    keep();
                    co_return AgentOutcome::cancelled();
                }
                if (args.isObject()) {
                    JSONValue::Object edited = args.asObject();
                    if (tool->editableKey && answer.editedValue)
                        edited[*tool->editableKey] = JSONValue(*answer.editedValue);
                    for (const auto& [key, value] : answer.edits)
                        edited[key] = value;
                    if (answer.choice == Confirmation::Choice::alternate)
                        edited[QStringLiteral("open_only")] = JSONValue(true);
                    args = JSONValue(std::move(edited));
                }
            }

            ui.agentProgress(tool->progress);
            QString result;
            std::exception_ptr failure;
            if (tool->kind == AgentTool::Kind::read || !dryRun) {
                try {
                    result = co_await tool->run(args);
                } catch (...) {
                    failure = std::current_exception();
                }
            } else {
                result = QStringLiteral("(teste) ") + tool->preview(args).title;
            }

            if (failure) {
                const Failure f = classify(failure);
                if (f.kind == Failure::Kind::cancelled) {
                    messages.push_back(toolMessage(QStringLiteral("Erro: ") + f.message, call.id));
                    answerTheRest(i + 1);
                    keep();
                    throw Cancelled();
                }
                if (f.kind == Failure::Kind::needsLogin) {
                    messages.push_back(toolMessage(f.message, call.id));
                    answerTheRest(i + 1);
                    messages.push_back(ChatMessage::ofText(QStringLiteral("assistant"), f.message));
                    keep();
                    co_return AgentOutcome::answer(f.message);
                }
                if (tool->kind != AgentTool::Kind::read) {
                    messages.push_back(toolMessage(QStringLiteral("Erro: ") + f.message, call.id));
                    answerTheRest(i + 1);
                    keep();
                    throw ToolError::failed(f.message);
                }
                result = QStringLiteral("Erro: ") + f.message;
            }

            if (log) log(QStringLiteral("← ") + Graphemes::first(result, kLoggedResultCharacters));
            messages.push_back(toolMessage(result, call.id));
            if (tool->kind == AgentTool::Kind::read)
                followUp = true;
            else
                done << result;
        }

        if (!followUp) {
            messages.push_back(ChatMessage::ofText(QStringLiteral("assistant"),
                                                   QStringLiteral("Feito: ") +
                                                       done.join(QStringLiteral("; ")) + u'.'));
            keep();
            co_return AgentOutcome::done(done.join(QStringLiteral(" · ")));
        }
        if (modelCalls >= maxSteps) {
            if (done.isEmpty()) {
                const QString text = QStringLiteral("Não consegui concluir o pedido.");
                messages.push_back(ChatMessage::ofText(QStringLiteral("assistant"), text));
                keep();
                co_return AgentOutcome::answer(text);
            }
            messages.push_back(ChatMessage::ofText(QStringLiteral("assistant"),
                                                   QStringLiteral("Feito: ") +
                                                       done.join(QStringLiteral("; ")) + u'.'));
            keep();
            co_return AgentOutcome::done(done.join(QStringLiteral(" · ")));
        }
        if (cancel.isCancelled()) {
            keep();
            throw Cancelled();
        }
    }
}

} // namespace nolvea
