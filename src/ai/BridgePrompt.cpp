#include "ai/BridgePrompt.h"

#include <QHash>

namespace nolvea {

namespace {

const QString toolsHeader = QStringLiteral(
    "\n\n## Ferramentas do app\nPara usar ferramentas, preencha \"tool_calls\" com o nome e "
    "\"arguments_json\" (o objeto de argumentos em texto JSON, seguindo o esquema) e deixe "
    "\"reply\" vazio. Pode chamar várias de uma vez. Os resultados voltam no histórico; nunca "
    "invente um resultado. Quando terminar, escreva a resposta para a pessoa em \"reply\" e "
    "deixe \"tool_calls\" vazio.\n\n");

QString parametersText(const JSONValue& parameters) {
    const QString text = parameters.compactString();
    // The writer gives "null" for a value it cannot write.
    return text == u"null" && !parameters.isNull() ? QStringLiteral("{}") : text;
}

QString toolText(const ToolSpec& tool) {
    return QStringLiteral("- ") + tool.function.name + QStringLiteral(": ") +
           tool.function.description + QStringLiteral("\n  Argumentos (JSON Schema): ") +
           parametersText(tool.function.parameters);
}

// The message's text: its text parts joined by line feeds.
QString textOf(const ChatMessage& message) {
    return message.text();
}

QString assistantEntry(const ChatMessage& message) {
    QString entry = QStringLiteral("[assistente]: ") + textOf(message);
    if (message.toolCalls) {
        for (const ToolCall& call : *message.toolCalls)
            entry += QStringLiteral("\n[chamada de ") + call.function.name + QStringLiteral(" (") +
                     call.id + QStringLiteral(")]: ") + call.function.arguments;
    }
    return entry;
}

} // namespace

BridgePrompt BridgePrompt::make(const std::vector<ChatMessage>& messages,
                                const std::optional<std::vector<ToolSpec>>& tools) {
    BridgePrompt prompt;

    QStringList system;
    for (const ChatMessage& message : messages)
        if (message.role == u"system") system << textOf(message);
    prompt.systemText = system.join(QStringLiteral("\n\n"));

    if (tools && !tools->empty()) {
        QStringList lines;
        for (const ToolSpec& tool : *tools)
            lines << toolText(tool);
        prompt.systemText += toolsHeader + lines.join(u'\n');
        prompt.toolsOffered = true;
    }

    QHash<QString, QString> toolNames; // call id → tool name, from the calls seen so far
    QStringList entries;
    for (const ChatMessage& message : messages) {
        if (message.role == u"system") continue;
        if (message.role == u"user") {
            entries << QStringLiteral("[pessoa]: ") + textOf(message);
        } else if (message.role == u"tool") {
            const QString name = toolNames.value(message.toolCallID.value_or(QString()),
                                                 QStringLiteral("ferramenta"));
            entries << QStringLiteral("[resultado de ") + name + QStringLiteral("]: ") +
                           textOf(message);
        } else if (message.role == u"assistant") {
            entries << assistantEntry(message);
            if (message.toolCalls)
                for (const ToolCall& call : *message.toolCalls)
                    toolNames.insert(call.id, call.function.name);
        } else {
            entries << QStringLiteral("[") + message.role + QStringLiteral("]: ") + textOf(message);
        }

        if (message.content && message.content->isParts()) {
            for (const ContentPart& part : message.content->asParts()) {
                if (!part.imageURL) continue;
                const QString& url = part.imageURL->url;
                const qsizetype comma = url.indexOf(u',');
                if (comma < 0) continue;
                auto decoded = QByteArray::fromBase64Encoding(
                    url.mid(comma + 1).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
                if (decoded) prompt.images.push_back(*decoded);
            }
        }
    }
    prompt.historyText = QStringLiteral("<historico>\n") + entries.join(u'\n') +
                         QStringLiteral("\n</historico>\n\nContinue a partir do fim do histórico.");
    return prompt;
}

} // namespace nolvea
