#include "agent/NativeTools.h"
#include "agent/ToolError.h"
#include "agent/tools/ContactTools.h"
#include "agent/tools/EmailTools.h"
#include "agent/tools/FileTools.h"
#include "agent/tools/ShortcutTools.h"
#include "agent/tools/TextTools.h"
#include "agent/tools/UtilityTools.h"
#include "support/Async.h"

#include <gtest/gtest.h>

using namespace nolvea;
using Kind = AgentTool::Kind;

namespace {

JSONValue args(std::initializer_list<std::pair<const QString, JSONValue>> members) {
    return JSONValue::object(members);
}

QString runTool(const AgentTool& tool, const JSONValue& arguments) {
    try {
        return test::await(tool.run(arguments));
    } catch (const std::exception& e) {
        return "Erro: " + describe(e);
    }
}

TEST(NativeTools, CatalogueInItsFixedOrder) {
    struct Row {
        QString name;
        Kind kind;
        QStringList required;
        std::optional<QString> editableKey;
        bool alwaysConfirm;
        QString symbol, progress, group;
    };
    const QList<Row> rows = {
        {"insert_text", Kind::light, {"text"}, {}, false, "text.cursor", "Escrevendo…", "Texto"},
        {"replace_selection",
         Kind::light,
         {"text"},
         {},
         false,
         "pencil.and.scribble",
         "Reescrevendo…",
         "Texto"},
        {"create_reminder",
         Kind::action,
         {"title"},
         "title",
         false,
         "checklist",
         "Criando lembrete…",
         "Lembretes e Calendário"},
        {"list_reminders",
         Kind::read,
         {},
         {},
         false,
         "list.bullet",
         "Lendo lembretes…",
         "Lembretes e Calendário"},
        {"create_calendar_event",
         Kind::action,
         {"title", "start"},
         "title",
         false,
         "calendar.badge.plus",
         "Criando evento…",
         "Lembretes e Calendário"},
        {"list_calendar_events",
         Kind::read,
         {"start", "end"},
         {},
         false,
         "calendar",
         "Consultando agenda…",
         "Lembretes e Calendário"},
        {"find_contact",
         Kind::read,
         {"name"},
         {},
         false,
         "person.crop.circle",
         "Procurando contato…",
         "Pessoas e mensagens"},
        {"send_imessage",
         Kind::action,
         {"to", "text"},
         "text",
         false,
         "message.fill",
         "Enviando mensagem…",
         "Pessoas e mensagens"},
        {"send_email",
         Kind::action,
         {"to", "subject", "body"},
         {},
         true,
         "envelope.fill",
         "Enviando e-mail…",
         "Pessoas e mensagens"},
        {"list_recent_emails",
         Kind::read,
         {},
         {},
         false,
         "tray.full.fill",
         "Lendo e-mails…",
         "Pessoas e mensagens"},
        {"search_files",
         Kind::read,
         {"query"},
         {},
         false,
         "magnifyingglass",
         "Procurando arquivos…",
         "Arquivos e apps"},
        {"open_file", Kind::light, {"path"}, {}, false, "doc", "Abrindo…", "Arquivos e apps"},
        {"open_app",
         Kind::light,
         {"name"},
         {},
         false,
         "app.badge",
         "Abrindo app…",
         "Arquivos e apps"},
        {"open_url", Kind::light, {"url"}, {}, false, "safari", "Abrindo…", "Arquivos e apps"},
        {"web_search",
         Kind::light,
         {"query"},
         {},
         false,
         "globe",
         "Pesquisando…",
         "Arquivos e apps"},
        {"list_shortcuts",
         Kind::read,
         {},
         {},
         false,
         "square.stack.3d.up.fill",
         "Lendo atalhos…",
         "Atalhos"},
        {"run_shortcut",
         Kind::action,
         {"name"},
         "input",
         false,
         "square.stack.3d.up.fill",
         "Executando atalho…",
         "Atalhos"},
        {"copy_to_clipboard",
         Kind::light,
         {"text"},
         {},
         false,
         "doc.on.clipboard",
         "Copiando…",
         "Texto"},
        {"look_at_screen", Kind::read, {"question"}, {}, false, "eye", "Olhando a tela…", "Tela"},
        {"calculate",
         Kind::read,
         {"expression"},
         {},
         false,
         "function",
         "Calculando…",
         "Utilidades"},
    };
    const auto tools = NativeTools::all(ScreenContext::empty());
    ASSERT_EQ(tools.size(), std::size_t(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const AgentTool& t = tools[i];
        SCOPED_TRACE(r.name.toStdString());
        EXPECT_EQ(t.name, r.name);
        EXPECT_EQ(t.kind, r.kind);
        EXPECT_EQ(t.editableKey, r.editableKey);
        EXPECT_EQ(t.alwaysConfirm, r.alwaysConfirm);
        EXPECT_EQ(t.symbol, r.symbol);
        EXPECT_EQ(t.progress, r.progress);
        EXPECT_EQ(t.group, r.group);
        EXPECT_FALSE(t.description.isEmpty());
        EXPECT_EQ(t.parameters["type"]->asString(), "object");
        ASSERT_TRUE(t.parameters["properties"]->isObject());
        QStringList required;
        for (const auto& n : t.parameters["required"]->asArray())
            required << n.asString().value_or("");
        EXPECT_EQ(required, r.required);
        EXPECT_TRUE(t.preview && t.run);
    }
    // The shared tools are the same records every time.
    const auto again = NativeTools::all(ScreenContext::empty());
    for (std::size_t i = 2; i < tools.size(); ++i) {
        EXPECT_EQ(again[i].description, tools[i].description);
        EXPECT_EQ(again[i].parameters, tools[i].parameters);
    }
    EXPECT_EQ(tools[19].description,
              "Calcula uma expressão numérica com exatidão. Use SEMPRE para qualquer conta "
              "(porcentagem, soma, divisão, juros, conversões). Ex.: \"15% * 230\", \"(1200 - "
              "350) / 3\", \"2^10\".");
    EXPECT_EQ(tools[3].parameters,
              *JSONValue::parse(QByteArray(R"({"type":"object","properties":{},"required":[]})")));
    EXPECT_EQ(
        tools[8].parameters["properties"]->member("to")->compactString(),
        R"({"description":"Destinatários: nomes (\"Nadiro\") ou e-mails","items":{"type":"string"},"type":"array"})");
}

TEST(NativeTools, CalculateTool) {
    const AgentTool& calc = UtilityTools::calculate();
    EXPECT_EQ(runTool(calc, args({{"expression", " 15% * 230 "}})), "15% * 230 = 34,5");
    EXPECT_EQ(runTool(calc, args({{"expression", "1/0"}})), "Erro: Divisão por zero.");
    EXPECT_EQ(runTool(calc, args({})), "Erro: Faltou o campo \"expression\".");
    const ActionPreview p = calc.preview(args({{"expression", "2^10"}}));
    EXPECT_EQ(p.title, "Calcular");
    EXPECT_EQ(p.details, QStringList{"2^10"});
}

TEST(NativeTools, Previews) {
    const QString long500(500, u'x');
    const auto tools = NativeTools::all(ScreenContext::empty());
    EXPECT_EQ(tools[0].preview(args({{"text", long500}})).details, QStringList{QString(160, u'x')});
    EXPECT_EQ(tools[1].preview(args({{"text", long500}})).details, QStringList{QString(160, u'x')});
    EXPECT_EQ(TextTools::copyToClipboard().preview(args({{"text", long500}})).details,
              QStringList{long500});
    EXPECT_EQ(ShortcutTools::runShortcut().preview(args({{"name", "Traduzir"}})).details,
              QStringList{"Traduzir"});
    EXPECT_EQ(ShortcutTools::runShortcut().preview(args({{"name", "T"}, {"input", "oi"}})).details,
              (QStringList{"T", "oi"}));
    EXPECT_EQ(FileTools::openURL().preview(args({})).details, QStringList{""});
    const ActionPreview message =
        ContactTools::sendMessage().preview(args({{"to", "+55119"}, {"display_name", "Ana"}}));
    EXPECT_EQ(message.title, "Enviar mensagem para Ana");
    EXPECT_EQ(message.appName, QString("Mensagens"));
    const ActionPreview mail = EmailTools::sendEmail().preview(
        args({{"to", JSONValue::array({"ana@example.org"})}, {"subject", "Oi"}, {"body", "x"}}));
    EXPECT_EQ(mail.title, "Novo e-mail");
    EXPECT_EQ(mail.alternateLabel, QString("Abrir no Mail"));
    EXPECT_TRUE(mail.email.has_value());
}

TEST(NativeTools, TextToolsCheckFirstAndMessagesAreNeverSent) {
    ScreenContext noSelection;
    noSelection.selectedText = " \n ";
    const auto tools = NativeTools::all(noSelection);
    EXPECT_EQ(runTool(tools[1], args({{"text", "novo"}})), "Erro: Não há texto selecionado.");
    EXPECT_EQ(runTool(tools[0], args({{"text", " "}})), "Erro: Faltou o campo \"text\".");
    // This desktop has no messaging service: the catalogue's tool says so and sends nothing.
    EXPECT_TRUE(runTool(ContactTools::sendMessage(), args({{"to", "+5511"}, {"text", "oi"}}))
                    .contains("nenhuma mensagem foi enviada"));
}

} // namespace
