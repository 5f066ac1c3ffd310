#include "agent/NativeTools.h"

#include "agent/Calculator.h"
#include "agent/FileTools.h"
#include "agent/NativeToolKit.h"
#include "agent/Schema.h"
#include "agent/ShortcutTools.h"

namespace nolvea::NativeTools {

using namespace NativeToolKit;
using Kind = AgentTool::Kind;

namespace {

const QString kFilesGroup = QStringLiteral("Arquivos e apps");
const QString kShortcutsGroup = QStringLiteral("Atalhos");

// A tool of the "Arquivos e apps" group whose card shows its first argument.
AgentTool fileTool(QString name, QString description, JSONValue parameters, Kind kind,
                   QString symbol, QString progress, QString title, QString firstArgument) {
    AgentTool t;
    t.name = std::move(name);
    t.description = std::move(description);
    t.parameters = std::move(parameters);
    t.kind = kind;
    t.symbol = symbol;
    t.progress = std::move(progress);
    t.group = kFilesGroup;
    t.preview = [symbol, title, firstArgument](const JSONValue& args) {
        return preview(symbol, title, {text(args, firstArgument)});
    };
    return t;
}

} // namespace

std::vector<AgentTool> all(const ScreenContext& context) {
    std::vector<AgentTool> tools{insertText(context), replaceSelection(context)};
    for (const AgentTool* shared :
         {&createReminder(), &listReminders(), &createEvent(), &listEvents(), &findContact(),
          &sendMessage(), &sendEmail(), &listRecentEmails(), &searchFiles(), &openFile(),
          &openApp(), &openURL(), &webSearch(), &listShortcuts(), &runShortcut(),
          &copyToClipboard(), &lookAtScreen(), &calculate()})
        tools.push_back(*shared);
    return tools;
}

const AgentTool& searchFiles() {
    static const AgentTool tool = [] {
        AgentTool t = fileTool(
            "search_files",
            "Procura arquivos e pastas no Mac pelo nome ou conteúdo (Spotlight). Devolve até 15 "
            "caminhos.",
            Schema::object(
                {{"query", Schema::string("Termos de busca")},
                 {"name_only", Schema::boolean("true para buscar só no nome do arquivo")}},
                {"query"}),
            Kind::read, "magnifyingglass", "Procurando arquivos…", "Buscar arquivos", "query");
        t.run = [](JSONValue args) { return FileTools::searchFiles(std::move(args)); };
        return t;
    }();
    return tool;
}

const AgentTool& openFile() {
    static const AgentTool tool = [] {
        AgentTool t = fileTool(
            "open_file",
            "Abre um arquivo ou pasta (caminho completo) no app padrão, ou revela no Finder.",
            Schema::object({{"path", Schema::string("Caminho completo")},
                            {"reveal", Schema::boolean("true para só mostrar no Finder")}},
                           {"path"}),
            Kind::light, "doc", "Abrindo…", "Abrir arquivo", "path");
        t.run = now(FileTools::openFile);
        return t;
    }();
    return tool;
}

const AgentTool& openApp() {
    static const AgentTool tool = [] {
        AgentTool t = fileTool(
            "open_app", "Abre (ou traz para frente) um aplicativo pelo nome.",
            Schema::object({{"name", Schema::string("Nome do app, ex.: Safari, Notas, Spotify")}},
                           {"name"}),
            Kind::light, "app.badge", "Abrindo app…", "Abrir app", "name");
        t.run = now(FileTools::openApp);
        return t;
    }();
    return tool;
}

const AgentTool& openURL() {
    static const AgentTool tool = [] {
        AgentTool t = fileTool(
            "open_url",
            "Abre no navegador uma URL que a pessoa ditou ou que veio do resultado de outra "
            "ferramenta. Nunca invente ou adivinhe URLs (ex.: links de arquivos do Google Drive).",
            Schema::object({{"url", Schema::string("URL completa com https://")}}, {"url"}),
            Kind::light, "safari", "Abrindo…", "Abrir link", "url");
        t.run = now(FileTools::openURL);
        return t;
    }();
    return tool;
}

const AgentTool& webSearch() {
    static const AgentTool tool = [] {
        AgentTool t =
            fileTool("web_search", "Pesquisa algo na web, abrindo o navegador com os resultados.",
                     Schema::object({{"query", Schema::string("O que pesquisar")}}, {"query"}),
                     Kind::light, "globe", "Pesquisando…", "Pesquisar na web", "query");
        t.run = now(FileTools::webSearch);
        return t;
    }();
    return tool;
}

const AgentTool& listShortcuts() {
    static const AgentTool tool = [] {
        AgentTool t;
        t.name = "list_shortcuts";
        t.description = "Lista os nomes dos Atalhos (app Atalhos) disponíveis.";
        t.parameters = Schema::object({}, {});
        t.kind = Kind::read;
        t.symbol = "square.stack.3d.up.fill";
        t.progress = "Lendo atalhos…";
        t.group = kShortcutsGroup;
        t.preview = [](const JSONValue&) {
            return preview("square.stack.3d.up.fill", "Listar atalhos");
        };
        t.run = now([](const JSONValue&) { return ShortcutTools::listShortcuts(); });
        return t;
    }();
    return tool;
}

const AgentTool& runShortcut() {
    static const AgentTool tool = [] {
        AgentTool t;
        t.name = "run_shortcut";
        t.description = "Executa um Atalho do app Atalhos pelo nome exato, com um texto de "
                        "entrada opcional.";
        t.parameters = Schema::object({{"name", Schema::string("Nome exato do atalho")},
                                       {"input", Schema::string("Texto de entrada (opcional)")}},
                                      {"name"});
        t.kind = Kind::action;
        t.symbol = "square.stack.3d.up.fill";
        t.progress = "Executando atalho…";
        t.group = kShortcutsGroup;
        t.editableKey = "input";
        t.preview = [](const JSONValue& args) {
            QStringList details;
            for (const char* key : {"name", "input"})
                if (const auto value = args.optional(key)) details << *value;
            return preview("square.stack.3d.up.fill", "Executar atalho", details);
        };
        t.run = [](JSONValue args) { return ShortcutTools::runShortcut(std::move(args)); };
        return t;
    }();
    return tool;
}

const AgentTool& calculate() {
    static const AgentTool tool = [] {
        AgentTool t;
        t.name = "calculate";
        t.description = "Calcula uma expressão numérica com exatidão. Use SEMPRE para qualquer "
                        "conta (porcentagem, soma, divisão, juros, conversões). Ex.: \"15% * "
                        "230\", \"(1200 - 350) / 3\", \"2^10\".";
        t.parameters = Schema::object(
            {{"expression", Schema::string("Expressão com números, + - * / ^ ( ) e %")}},
            {"expression"});
        t.kind = Kind::read;
        t.symbol = "function";
        t.progress = "Calculando…";
        t.group = "Utilidades";
        t.preview = [](const JSONValue& args) {
            return preview("function", "Calcular", {text(args, "expression")});
        };
        t.run = now([](const JSONValue& args) {
            const QString expression = args.required("expression");
            return expression + " = " + Calculator::format(Calculator::evaluate(expression));
        });
        return t;
    }();
    return tool;
}

} // namespace nolvea::NativeTools
