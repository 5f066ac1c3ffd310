#include "core/AIProvider.h"
#include "ui/components/FlowLayout.h"
#include "ui/settings/AIPaneModel.h"
#include "ui/settings/AboutModel.h"
#include "ui/settings/AgentToolsModel.h"
#include "ui/settings/GoogleSetupModel.h"
#include "ui/settings/IntegrationsModel.h"
#include "ui/settings/PaneTransitionModel.h"
#include "ui/settings/SettingsSection.h"
#include "ui/settings/TranscriptionModel.h"
#include "ui/settings/UpdateRowModel.h"
#include "ui/settings/VocabularyModel.h"
#include "ui/settings/VoiceCardModel.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(SettingsSections, RawValuesMatchExactlyAndKeepTheSidebarOrder) {
    QStringList titles;
    for (SettingsSection s : SettingsSections::allCases()) {
        titles << SettingsSections::title(s);
        EXPECT_EQ(SettingsSections::fromRawValue(SettingsSections::rawValue(s)), s);
    }
    EXPECT_EQ(titles,
              QStringList({"Geral", "IA", "Vocabulário", "Agente", "Integrações", "Sobre"}));
    for (const char* text : {"General", "", "ABOUT", " about"})
        EXPECT_EQ(SettingsSections::fromRawValue(QString::fromUtf8(text)), std::nullopt) << text;
}

TEST(PaneTransition, ThePaneBlursFadesAndShrinksAwayFromRest) {
    struct Case {
        double presence;
        PaneLook look;
    };
    const QList<Case> cases{
        {1, {1, 0, 1}},
        {0, {0, 12, 0.96}},
        {0.5, {0.5, 6, 0.98}},
        {0.25, {0.25, 9, 0.97}},
        // The spring's small overshoot: opacity and blur stay in range, the size follows.
        {1.01, {1, 0, 1.0004}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.presence);
        const PaneLook look = PaneTransitionModel::look(c.presence);
        EXPECT_NEAR(look.opacity, c.look.opacity, 1e-9);
        EXPECT_NEAR(look.blur, c.look.blur, 1e-9);
        EXPECT_NEAR(look.scale, c.look.scale, 1e-9);
    }
    EXPECT_TRUE(PaneTransitionModel::look(1).isAtRest());
    EXPECT_FALSE(PaneTransitionModel::look(0.999).isAtRest());
}

TEST(PaneTransition, TheGentleSpringCarriesTheSwitchUnlessMotionIsReduced) {
    EXPECT_EQ(PaneTransitionModel::spring(), Theme::gentle());
    struct Case {
        double seconds;
        double low, high;
    };
    const QList<Case> cases{
        {0, 0, 0}, {0.1, 0.15, 0.45}, {0.3, 0.7, 0.95}, {0.55, 0.95, 1.01}, {2, 0.9999, 1.0001},
    };
    for (const Case& c : cases) {
        const double p = PaneTransitionModel::presenceAt(c.seconds);
        EXPECT_GE(p, c.low) << c.seconds;
        EXPECT_LE(p, c.high) << c.seconds;
    }
    struct Rule {
        bool reduceMotion, onScreen, animates;
    };
    for (const Rule& r : QList<Rule>{
             {false, true, true}, {true, true, false}, {false, false, false}, {true, false, false}})
        EXPECT_EQ(PaneTransitionModel::animates(r.reduceMotion, r.onScreen), r.animates)
            << r.reduceMotion << r.onScreen;
}

TEST(FlowLayout, WrapsLikeWordsInAParagraph) {
    struct Case {
        const char* name;
        QList<QSize> sizes;
        int width;
        QList<QRect> frames;
        QSize size;
    };
    const QList<Case> cases{
        {"nothing", {}, 100, {}, {0, 0}},
        {"unlimited width keeps one row",
         {{10, 5}, {20, 8}, {30, 6}},
         FlowLayout::kUnlimited,
         {{0, 0, 10, 5}, {18, 0, 20, 8}, {46, 0, 30, 6}},
         {76, 8}},
        {"zero width gives each a row after the first",
         {{10, 5}, {20, 8}, {30, 6}},
         0,
         {{0, 0, 10, 5}, {0, 13, 20, 8}, {0, 29, 30, 6}},
         {30, 35}},
        {"an item ending on the limit stays",
         {{40, 10}, {52, 10}},
         100,
         {{0, 0, 40, 10}, {48, 0, 52, 10}},
         {100, 10}},
        {"one point more wraps, below the tallest",
         {{40, 14}, {53, 10}},
         100,
         {{0, 0, 40, 14}, {0, 22, 53, 10}},
         {53, 32}},
        {"a wide item overflows on a row of its own",
         {{30, 10}, {150, 10}, {20, 10}},
         100,
         {{0, 0, 30, 10}, {0, 18, 150, 10}, {0, 36, 20, 10}},
         {150, 46}},
    };
    for (const Case& c : cases) {
        const auto a = FlowLayout::arrange(c.sizes, c.width, 8);
        EXPECT_EQ(a.frames, c.frames) << c.name;
        EXPECT_EQ(a.size, c.size) << c.name;
    }
    // Placed inside bounds, frames start at the bounds' corner.
    const auto placed = FlowLayout::arrange({{10, 5}, {10, 5}}, 15, 8, {100, 50});
    EXPECT_EQ(placed.frames, (QList<QRect>{{100, 50, 10, 5}, {100, 63, 10, 5}}));
}

TEST(Vocabulary, AddsTrimmedNewTermsAndRemovesEveryCopy) {
    const QStringList list{"Kubernetes", "LM Studio"};
    struct Case {
        const char* typed;
        std::optional<QStringList> result;
    };
    const QList<Case> cases{
        {"  \t ", std::nullopt},
        {"", std::nullopt},
        {"Kubernetes", std::nullopt},
        {" \tTesmiro Lab\t ", QStringList{"Kubernetes", "LM Studio", "Tesmiro Lab"}},
        {"kubernetes", QStringList{"Kubernetes", "LM Studio", "kubernetes"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VocabularyModel::adding(list, QString::fromUtf8(c.typed)), c.result) << c.typed;
    EXPECT_EQ(VocabularyModel::removing({"a", "b", "a", "c"}, "a"), QStringList({"b", "c"}));
    EXPECT_EQ(VocabularyModel::removing({"a"}, "a"), QStringList());
}

TEST(Vocabulary, AChipGrowsFromNothingAsItFadesIn) {
    struct Case {
        double progress;
        MotionPose pose;
    };
    const QList<Case> cases{
        {0, {.opacity = 0, .scale = 0}},       {0.5, {.opacity = 0.5, .scale = 0.5}}, {1, {}},
        {1.05, {.opacity = 1, .scale = 1.05}}, // the spring's overshoot
        {-0.02, {.opacity = 0, .scale = 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VocabularyModel::chipPose(c.progress), c.pose) << c.progress;
}

TEST(AIPane, ProvidersAreGroupedAndShowTheirRows) {
    const auto& groups = AIPaneModel::providerGroups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].providers,
              (std::vector<AIProvider>{AIProvider::lmStudio, AIProvider::ollama}));
    EXPECT_EQ(groups[1].providers,
              (std::vector<AIProvider>{AIProvider::claudeAccount, AIProvider::chatgptAccount}));
    EXPECT_EQ(groups[2].providers.back(), AIProvider::custom);
    EXPECT_EQ(groups[2].header, "Na nuvem, com chave de API");

    struct Case {
        AIProvider provider;
        bool account, key, link, address;
        const char* keyDetail;
        const char* addressDetail;
    };
    const QList<Case> cases{
        {AIProvider::claudeAccount, true, false, false, false, "", ""},
        {AIProvider::custom, false, true, false, true, "Opcional · guardada só no seu Mac",
         "API compatível com OpenAI"},
        {AIProvider::anthropic, false, true, true, true, "Guardada só no seu Mac",
         "API da Anthropic"},
        {AIProvider::lmStudio, false, false, false, true, "", "API compatível com OpenAI"},
    };
    for (const Case& c : cases) {
        const auto look = AIPaneModel::look(c.provider);
        const std::string name = c.provider.rawValue().toStdString();
        EXPECT_EQ(look.account, c.account) << name;
        EXPECT_EQ(look.key, c.key) << name;
        EXPECT_EQ(look.keyLink, c.link) << name;
        EXPECT_EQ(look.address, c.address) << name;
        if (c.key) EXPECT_EQ(look.keyDetail, QString::fromUtf8(c.keyDetail)) << name;
        if (c.address) {
            EXPECT_EQ(look.addressDetail, QString::fromUtf8(c.addressDetail)) << name;
            EXPECT_EQ(look.addressPlaceholder, c.provider.defaultServerURL()) << name;
        }
    }
    EXPECT_EQ(AIPaneModel::look(AIProvider::custom).localityDetail, "Roda na nuvem do provedor");
    EXPECT_TRUE(AIPaneModel::dictationFooter(AIProvider::lmStudio));
    EXPECT_FALSE(AIPaneModel::dictationFooter(AIProvider::ollama));
}

TEST(AIPane, ModelPickerEntries) {
    using E = AIPaneModel::ModelEntry;
    const QStringList listed{"a", "b"};
    EXPECT_EQ(AIPaneModel::modelEntries(listed, ""),
              (std::vector<E>{{"Escolha um modelo…", ""}, {"a", "a"}, {"b", "b"}}));
    EXPECT_EQ(AIPaneModel::modelEntries(listed, "typed"),
              (std::vector<E>{{"typed", "typed"}, {"a", "a"}, {"b", "b"}}));
    EXPECT_EQ(AIPaneModel::modelEntries(listed, "b"), (std::vector<E>{{"a", "a"}, {"b", "b"}}));
    EXPECT_EQ(AIPaneModel::latencyText(1.26), "1.3 s");
    EXPECT_EQ(AIPaneModel::quoted("Oi."), "\u201COi.\u201D");
}

TEST(UpdateRow, EveryPhaseHasItsStatusAndAtMostOneButton) {
    using A = UpdateRowModel::Action;
    UpdateRelease release;
    release.version = "2.4";
    struct Case {
        UpdatePhase phase;
        bool canCheck;
        const char* status;
        const char* button;
        A action;
        bool enabled;
        bool progress;
    };
    const QList<Case> cases{
        {UpdatePhase::idle(), true, "", "Procurar atualizações", A::check, true, false},
        {UpdatePhase::idle(), false, "", "Procurar atualizações", A::check, false, false},
        {UpdatePhase::checking(), true, "Procurando…", "", A::none, true, true},
        {UpdatePhase::upToDate(), false, "Você está na versão mais nova", "Procurar de novo",
         A::check, true, false},
        {UpdatePhase::available(release), true, "Versão 2.4 disponível", "Atualizar agora",
         A::install, true, false},
        {UpdatePhase::downloading(), true, "Baixando a atualização…", "", A::none, true, true},
        {UpdatePhase::installing(), true, "Instalando…", "", A::none, true, true},
        {UpdatePhase::failed("<b>sem rede</b>"), true, "<b>sem rede</b>", "Tentar de novo",
         A::check, true, false},
    };
    for (const Case& c : cases) {
        const auto look = UpdateRowModel::look(c.phase, c.canCheck);
        EXPECT_EQ(look.status, QString::fromUtf8(c.status)) << c.status << c.button;
        EXPECT_EQ(look.button, QString::fromUtf8(c.button)) << c.status;
        EXPECT_EQ(look.action, c.action) << c.status;
        EXPECT_EQ(look.enabled, c.enabled) << c.status << c.button;
        EXPECT_EQ(look.progress, c.progress) << c.status;
    }
    EXPECT_EQ(UpdateRowModel::look(UpdatePhase::failed("x"), true).maxLines, 2);
}

TEST(About, VersionLineAndDataFolder) {
    using E = TranscriptionModel::Engine;
    EXPECT_EQ(AboutModel::versionLine("1.2", 12345), "Versão 1.2 (12345) · feito para o seu Mac");
    const auto lines = AboutModel::infoLines(E::whisper, AIProvider::ollama, "",
                                             "/home/ana/.local/share/F", "/home/ana");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, "Transcrição: whisper.cpp (no aparelho)");
    EXPECT_EQ(lines[1].text, "IA: Ollama · ");
    EXPECT_EQ(lines[3].text, "Dados: ~/.local/share/F");
    EXPECT_EQ(AboutModel::infoLines(E::pocketsphinx, AIProvider::ollama, "m", "/home/anabela/x",
                                    "/home/ana")[3]
                  .text,
              "Dados: /home/anabela/x");
}

// The speech engine names a language after the engine that has a model for it.
TEST(Transcription, TheEngineInUseIsNamed) {
    using E = TranscriptionModel::Engine;
    struct Case {
        std::optional<QString> engineLocale;
        E engine;
        const char* detail;
        const char* about;
    };
    const QList<Case> cases{
        {"whisper:pt-BR", E::whisper, "Transcrição local (whisper.cpp)",
         "Transcrição: whisper.cpp (no aparelho)"},
        {"pocketsphinx:en-us", E::pocketsphinx, "Transcrição local (pocketsphinx)",
         "Transcrição: pocketsphinx (no aparelho)"},
        {"en-US", E::other, "Transcrição local", "Transcrição: no aparelho"},
        {std::nullopt, E::none, "Transcrição local: sem modelo de voz para este idioma",
         "Transcrição: sem modelo de voz para o idioma da fala"},
    };
    for (const Case& c : cases) {
        const E engine = TranscriptionModel::engine(c.engineLocale);
        EXPECT_EQ(engine, c.engine) << c.detail;
        EXPECT_EQ(TranscriptionModel::languageDetail(engine), QString::fromUtf8(c.detail));
        EXPECT_EQ(TranscriptionModel::aboutLine(engine), QString::fromUtf8(c.about));
    }
}

TEST(VoiceCard, SystemVoicesWithTheirQualityAndTheCompactHint) {
    using Q = SystemVoice::Quality;
    using Item = VoiceCardModel::VoiceItem;
    const std::vector<SystemVoice::Voice> voices{
        {"com.v.luciana.premium", "Luciana", Q::premium},
        {"felipe", "Felipe", Q::enhanced},
        {"Portuguese (Brazil)", "Portuguese (Brazil)", Q::compact},
    };
    EXPECT_EQ(VoiceCardModel::systemVoiceItems(voices),
              (std::vector<Item>{{"Automática (melhor disponível)", ""},
                                 {"Luciana · Premium", "com.v.luciana.premium"},
                                 {"Felipe · Aprimorada", "felipe"},
                                 {"Portuguese (Brazil) · Compacta", "Portuguese (Brazil)"}}));
    EXPECT_EQ(VoiceCardModel::systemVoiceItems({}),
              (std::vector<Item>{{"Automática (melhor disponível)", ""}}));

    const QString hint = "Só vozes compactas instaladas — baixe a Luciana Aprimorada para uma "
                         "fala bem mais natural";
    struct Case {
        std::vector<SystemVoice::Voice> voices;
        std::optional<QString> detail;
    };
    const QList<Case> cases{
        {{}, hint},
        {{voices[2]}, hint},
        {{voices[2], voices[1]}, std::nullopt},
        {{voices[0]}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VoiceCardModel::systemVoiceDetail(c.voices), c.detail) << c.voices.size();
}

TEST(GoogleSetup, TheFirstMissingRequirementIsReported) {
    const QString id = "123" + GoogleSetupModel::clientIDSuffix();
    const QSet<QString> some{"drive"};
    struct Case {
        GoogleSetupModel::Form form;
        std::optional<QString> missing;
    };
    const QList<Case> cases{
        {{"   ", "", "", {}}, "Preencha sua conta Google"},
        {{"ana.gmail.com", id, "GOCSPX-1234", some}, "Preencha sua conta Google"},
        {{" ana@gmail.com ", "123.apps.example.com", "", {}},
         "O ID do cliente termina em .apps.googleusercontent.com"},
        {{"ana@gmail.com", id + "\n", " 123456789 ", some}, "Cole a chave secreta do cliente"},
        {{"ana@gmail.com", id, "1234567890", {}}, "Escolha ao menos um serviço"},
        {{"ana@gmail.com", id, "1234567890", some}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GoogleSetupModel::missing(c.form), c.missing) << c.form.email.toStdString();
}

TEST(GoogleSetup, TokenEstimateAndSpeed) {
    EXPECT_EQ(GoogleSetupModel::totalTokens(GoogleSetupModel::defaultSelection()), 6900);
    EXPECT_EQ(GoogleSetupModel::estimate(6900), "≈ 6,9 mil tokens a mais no prompt do agente");
    EXPECT_EQ(GoogleSetupModel::estimate(0), "≈ 0,0 mil tokens a mais no prompt do agente");
    QSet<QString> all;
    for (const auto& s : GoogleSetupModel::services())
        all.insert(s.id);
    EXPECT_EQ(GoogleSetupModel::totalTokens(all), 15800);
    EXPECT_EQ(GoogleSetupModel::badge(3550), "3500 tk");
    EXPECT_EQ(GoogleSetupModel::selectedIDs({"gmail", "drive"}), QStringList({"drive", "gmail"}));
}

TEST(GoogleSetup, ASavedEntryIsReadBack) {
    const QSet<QString> defaults = GoogleSetupModel::defaultSelection();
    MCPServerConfig entry;
    entry.command = "uvx";
    entry.args = QStringList{"workspace-mcp", "--tools", "gmail", "calendar", "--single-user"};
    entry.env = QMap<QString, QString>{{"GOOGLE_OAUTH_CLIENT_ID", "id"},
                                       {"GOOGLE_OAUTH_CLIENT_SECRET", "segredo"},
                                       {"USER_GOOGLE_EMAIL", "ana@gmail.com"}};
    auto form = GoogleSetupModel::loaded(entry, defaults);
    EXPECT_EQ(form.selected, (QSet<QString>{"gmail", "calendar"}));
    EXPECT_EQ(form.email, "ana@gmail.com");
    EXPECT_EQ(form.clientSecret, "segredo");

    entry.env.reset();
    entry.args = QStringList{"workspace-mcp"};
    form = GoogleSetupModel::loaded(entry, defaults);
    EXPECT_EQ(form.selected, defaults) << "no --tools keeps the selection";
    EXPECT_TRUE(form.email.isEmpty() && form.clientID.isEmpty());

    entry.args = QStringList{"workspace-mcp", "--tools"};
    EXPECT_TRUE(GoogleSetupModel::loaded(entry, defaults).selected.isEmpty());
}

TEST(AgentTools, GroupsKeepTheOrderOfTheirFirstTool) {
    auto tool = [](const char* name, const char* group, AgentTool::Kind kind) {
        AgentTool t;
        t.name = name;
        t.group = group;
        t.kind = kind;
        return t;
    };
    const auto groups = AgentToolsModel::groups({tool("a", "Agenda", AgentTool::Kind::read),
                                                 tool("b", "E-mail", AgentTool::Kind::action),
                                                 tool("c", "Agenda", AgentTool::Kind::light)});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "Agenda");
    ASSERT_EQ(groups[0].tools.size(), 2u);
    EXPECT_EQ(groups[0].tools[1].name, "c");
    EXPECT_EQ(groups[1].tools.size(), 1u);
    EXPECT_EQ(AgentToolsModel::badge(groups[1].tools[0]), "pede confirmação");
    EXPECT_TRUE(AgentToolsModel::badge(groups[0].tools[1]).isEmpty());
}

TEST(Integrations, ServerStatesReadAsTheyCame) {
    MCPManager::Server server;
    server.name = "memory";
    server.state = MCPManager::ServerState::failed("<i>npx</i> não encontrado");
    EXPECT_EQ(IntegrationsModel::stateText(server), "Falhou: <i>npx</i> não encontrado");
    server.state = MCPManager::ServerState::running();
    server.tools.resize(1);
    EXPECT_EQ(IntegrationsModel::stateText(server), "Rodando · 1 ferramenta");
    EXPECT_EQ(IntegrationsModel::googleHeader(server), "Google conectado · 1 ferramentas");
    server.state = MCPManager::ServerState::starting();
    EXPECT_EQ(IntegrationsModel::googleHeader(server), "Google configurado");
}

} // namespace
