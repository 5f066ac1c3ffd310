#include "agent/tools/TextTools.h"

#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "agent/tools/ToolKit.h"
#include "ai/TextJoiner.h"
#include "platform/Clipboard.h"
#include "platform/ClipboardData.h"
#include "platform/FrontWindowReader.h"
#include "platform/Platform.h"
#include "support/Graphemes.h"
#include "support/json/Schema.h"
#include "system/TextInserter.h"

namespace nolvea::TextTools {

using namespace ToolKit;
using Kind = AgentTool::Kind;

namespace {

constexpr qsizetype kPreviewCharacters = 160;

const QString kGroup = QStringLiteral("Texto");

JSONValue textParameter(const QString& description) {
    return Schema::object({{"text", Schema::string(description)}}, {"text"});
}

// The card shows the text, cut to its start when `cut`.
std::function<ActionPreview(const JSONValue&)> textCard(QString symbol, QString title, bool cut) {
    return [=](const JSONValue& args) {
        const QString text = ToolKit::text(args, "text");
        return preview(symbol, title, {cut ? Graphemes::first(text, kPreviewCharacters) : text});
    };
}

// The person may have switched windows while the agent worked: the text goes to the
// application the request was made in. One that has quit is let be; the paste then goes to
// whatever is in front.
void bringBack(const ScreenContext& context) {
    if (context.processID == 0) return;
    if (auto reader = Platform::find<FrontWindowReader>()) reader->bringToFront(context.processID);
}

QCoro::Task<QString> insertAtCaret(ScreenContext context, JSONValue args) {
    const QString text = requiredArgument(args, "text");
    bringBack(context);
    co_await TextInserter::insert(TextJoiner::prepare(text, context.textBeforeCursor));
    co_return QStringLiteral("Texto inserido.");
}

QCoro::Task<QString> replaceInSelection(ScreenContext context, JSONValue args) {
    if (context.selectedText.trimmed().isEmpty())
        throw ToolError::invalid(QStringLiteral("Não há texto selecionado."));
    const QString text = requiredArgument(args, "text");
    bringBack(context);
    co_await TextInserter::insert(text);
    co_return QStringLiteral("Seleção substituída.");
}

QString copy(const JSONValue& args) {
    const QString text = requiredArgument(args, "text");
    auto clipboard = Platform::find<Clipboard>();
    if (!clipboard)
        throw ToolError::failed(QStringLiteral("A área de transferência não está disponível."));
    // A plain copy: the old contents go, and no marker types are written.
    ClipboardData data;
    data.set(QStringLiteral("text/plain"), text.toUtf8());
    clipboard->write(data);
    return QStringLiteral("Copiado para a área de transferência.");
}

} // namespace

AgentTool insertText(const ScreenContext& context) {
    return {
        .name = "insert_text",
        .description =
            "Escreve um texto na posição do cursor, no app em foco. Use quando a pessoa pedir para "
            "escrever/redigir algo (e-mail, mensagem, resposta, parágrafo) e for colar onde ela "
            "está.",
        .parameters = textParameter("Texto final, pronto para colar"),
        .kind = Kind::light,
        .symbol = "text.cursor",
        .progress = "Escrevendo…",
        .group = kGroup,
        .preview = textCard("text.cursor", "Escrever no cursor", true),
        .run = [context](JSONValue args) { return insertAtCaret(context, std::move(args)); },
    };
}

AgentTool replaceSelection(const ScreenContext& context) {
    return {
        .name = "replace_selection",
        .description =
            "Substitui o texto selecionado pela nova versão. Use quando a pessoa pedir para "
            "alterar, reescrever, traduzir, resumir, corrigir ou formatar o texto selecionado.",
        .parameters = textParameter("Novo texto que substitui a seleção"),
        .kind = Kind::light,
        .symbol = "pencil.and.scribble",
        .progress = "Reescrevendo…",
        .group = kGroup,
        .preview = textCard("pencil.and.scribble", "Substituir seleção", true),
        .run = [context](JSONValue args) { return replaceInSelection(context, std::move(args)); },
    };
}

const AgentTool& copyToClipboard() {
    static const AgentTool tool{
        .name = "copy_to_clipboard",
        .description = "Copia um texto para a área de transferência.",
        .parameters = textParameter("Texto a copiar"),
        .kind = Kind::light,
        .symbol = "doc.on.clipboard",
        .progress = "Copiando…",
        .group = kGroup,
        .preview = textCard("doc.on.clipboard", "Copiar", false),
        .run = now(copy),
    };
    return tool;
}

} // namespace nolvea::TextTools
