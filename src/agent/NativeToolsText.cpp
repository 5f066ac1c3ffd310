// The text tools: typing at the caret, replacing the selection, copying.
#include "agent/NativeToolKit.h"
#include "agent/NativeTools.h"
#include "agent/Schema.h"
#include "agent/ToolError.h"
#include "ai/TextJoiner.h"
#include "platform/Clipboard.h"
#include "platform/ClipboardData.h"
#include "platform/FrontWindowReader.h"
#include "platform/Platform.h"
#include "support/Graphemes.h"
#include "system/TextInserter.h"

namespace nolvea::NativeTools {

using namespace NativeToolKit;
using Kind = AgentTool::Kind;

namespace {

constexpr qsizetype kPreviewCharacters = 160;

AgentTool textTool(QString name, QString description, QString argumentDescription, Kind kind,
                   QString symbol, QString progress, QString title, bool cutPreview) {
    AgentTool t;
    t.name = std::move(name);
    t.description = std::move(description);
    t.parameters = Schema::object({{"text", Schema::string(argumentDescription)}}, {"text"});
    t.kind = kind;
    t.symbol = symbol;
    t.progress = std::move(progress);
    t.group = QStringLiteral("Texto");
    t.preview = [symbol, title, cutPreview](const JSONValue& args) {
        const QString text = NativeToolKit::text(args, "text");
        return preview(symbol, title,
                       {cutPreview ? Graphemes::first(text, kPreviewCharacters) : text});
    };
    return t;
}

// The person may have switched windows while the agent worked: the text goes to the
// application the request was made in. One that has quit is let be; the paste then goes to
// whatever is in front.
void bringBack(const ScreenContext& context) {
    if (context.processID == 0) return;
    if (auto reader = Platform::find<FrontWindowReader>()) reader->bringToFront(context.processID);
}

QCoro::Task<QString> insertAtCaret(ScreenContext context, JSONValue args) {
    const QString text = args.required("text");
    bringBack(context);
    co_await TextInserter::insert(TextJoiner::prepare(text, context.textBeforeCursor));
    co_return QStringLiteral("Texto inserido.");
}

QCoro::Task<QString> replaceInSelection(ScreenContext context, JSONValue args) {
    if (context.selectedText.trimmed().isEmpty())
        throw ToolError::invalid(QStringLiteral("Não há texto selecionado."));
    const QString text = args.required("text");
    bringBack(context);
    co_await TextInserter::insert(text);
    co_return QStringLiteral("Seleção substituída.");
}

} // namespace

AgentTool insertText(const ScreenContext& context) {
    AgentTool t = textTool(
        "insert_text",
        "Escreve um texto na posição do cursor, no app em foco. Use quando a pessoa pedir para "
        "escrever/redigir algo (e-mail, mensagem, resposta, parágrafo) e for colar onde ela está.",
        "Texto final, pronto para colar", Kind::light, "text.cursor", "Escrevendo…",
        "Escrever no cursor", true);
    t.run = [context](JSONValue args) { return insertAtCaret(context, std::move(args)); };
    return t;
}

AgentTool replaceSelection(const ScreenContext& context) {
    AgentTool t = textTool(
        "replace_selection",
        "Substitui o texto selecionado pela nova versão. Use quando a pessoa pedir para alterar, "
        "reescrever, traduzir, resumir, corrigir ou formatar o texto selecionado.",
        "Novo texto que substitui a seleção", Kind::light, "pencil.and.scribble", "Reescrevendo…",
        "Substituir seleção", true);
    t.run = [context](JSONValue args) { return replaceInSelection(context, std::move(args)); };
    return t;
}

const AgentTool& copyToClipboard() {
    static const AgentTool tool = [] {
        AgentTool t = textTool("copy_to_clipboard", "Copia um texto para a área de transferência.",
                               "Texto a copiar", Kind::light, "doc.on.clipboard", "Copiando…",
                               "Copiar", false);
        t.run = now([](const JSONValue& args) {
            const QString text = args.required("text");
            auto clipboard = Platform::find<Clipboard>();
            if (!clipboard)
                throw ToolError::failed(
                    QStringLiteral("A área de transferência não está disponível."));
            // A plain copy: the old contents go, and no marker types are written.
            ClipboardData data;
            data.set(QStringLiteral("text/plain"), text.toUtf8());
            clipboard->write(data);
            return QStringLiteral("Copiado para a área de transferência.");
        });
        return t;
    }();
    return tool;
}

} // namespace nolvea::NativeTools
