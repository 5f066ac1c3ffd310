// The text tools: typing at the caret, replacing the selection, copying.
#include "agent/NativeToolKit.h"
#include "agent/NativeTools.h"
#include "agent/Schema.h"
#include "agent/ToolError.h"
#include "support/Graphemes.h"

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

// Until the clipboard and paste layer is in place, the text tools say plainly that nothing
// was typed or copied.
[[noreturn]] void noTextLayer() {
    throw ToolError::failed(QStringLiteral(
        "Escrever no app em foco ainda não está disponível neste computador: nada foi feito."));
}

} // namespace

AgentTool insertText(const ScreenContext& context) {
    AgentTool t = textTool(
        "insert_text",
        "Escreve um texto na posição do cursor, no app em foco. Use quando a pessoa pedir para "
        "escrever/redigir algo (e-mail, mensagem, resposta, parágrafo) e for colar onde ela está.",
        "Texto final, pronto para colar", Kind::light, "text.cursor", "Escrevendo…",
        "Escrever no cursor", true);
    t.run = now([context](const JSONValue& args) -> QString {
        args.required("text");
        noTextLayer();
    });
    return t;
}

AgentTool replaceSelection(const ScreenContext& context) {
    AgentTool t = textTool(
        "replace_selection",
        "Substitui o texto selecionado pela nova versão. Use quando a pessoa pedir para alterar, "
        "reescrever, traduzir, resumir, corrigir ou formatar o texto selecionado.",
        "Novo texto que substitui a seleção", Kind::light, "pencil.and.scribble", "Reescrevendo…",
        "Substituir seleção", true);
    t.run = now([context](const JSONValue& args) -> QString {
        if (context.selectedText.trimmed().isEmpty())
            throw ToolError::invalid(QStringLiteral("Não há texto selecionado."));
        args.required("text");
        noTextLayer();
    });
    return t;
}

const AgentTool& copyToClipboard() {
    static const AgentTool tool = [] {
        AgentTool t = textTool("copy_to_clipboard", "Copia um texto para a área de transferência.",
                               "Texto a copiar", Kind::light, "doc.on.clipboard", "Copiando…",
                               "Copiar", false);
        t.run = now([](const JSONValue& args) -> QString {
            args.required("text");
            noTextLayer();
        });
        return t;
    }();
    return tool;
}

} // namespace nolvea::NativeTools
