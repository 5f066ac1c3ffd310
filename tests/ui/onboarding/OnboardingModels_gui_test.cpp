#include "ui/onboarding/AIStepModel.h"
#include "ui/onboarding/Confetti.h"
#include "ui/onboarding/HotkeyTest.h"
#include "ui/onboarding/OnboardingFlow.h"
#include "ui/onboarding/OnboardingMotion.h"
#include "ui/onboarding/PageTexts.h"
#include "ui/onboarding/ProgressMarksModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace nolvea;
using Step = OnboardingStep;

namespace {

std::string s(const QString& text) {
    return text.toStdString();
}

} // namespace

TEST(OnboardingFlowModel, NamesAreTrimmedOfSpacesAndTabsOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"  Ana  ", "Ana"}, {"\tAna\t ", "Ana"},    {"\nAna\n", "\nAna\n"},
        {"   ", ""},        {"Ana Luz", "Ana Luz"}, {"", ""}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(s(OnboardingFlow::trimmedName(QString::fromUtf8(in))), out) << in;
}

TEST(OnboardingFlowModel, OnlyTheNamePageIsGatedAndOnlyByATrimmedName) {
    const std::tuple<Step, const char*, bool> cases[] = {
        {Step::name, "", false},     {Step::name, " \t ", false},   {Step::name, "\n", true},
        {Step::name, " Ana ", true}, {Step::permissions, "", true}, {Step::google, "", true},
        {Step::welcome, "", true},   {Step::done, "", true}};
    for (const auto& [step, name, can] : cases) {
        OnboardingFlow::FooterFacts f;
        f.userName = QString::fromUtf8(name);
        EXPECT_EQ(OnboardingFlow::canContinue(step, f), can) << int(step) << " '" << name << "'";
    }
}

TEST(OnboardingFlowModel, FooterLabelAndHintFollowWhatThePagesSetUp) {
    struct Case {
        Step step;
        int granted;
        bool online;
        const char* model;
        bool google;
        const char* label;
        const char* hint;
    } cases[] = {
        {Step::permissions, 0, false, "", false, "Fazer depois", "0 de 3 permitidas"},
        {Step::permissions, 1, false, "", false, "Fazer depois", "1 de 3 permitidas"},
        {Step::permissions, 2, false, "", false, "Fazer depois", "2 de 3 permitidas"},
        {Step::permissions, 3, false, "", false, "Continuar", nullptr},
        {Step::ai, 0, true, "qwen", false, "Continuar", nullptr},
        {Step::ai, 0, true, "", false, "Configurar depois", nullptr},
        {Step::ai, 0, false, "qwen", false, "Configurar depois", nullptr},
        {Step::google, 0, false, "", false, "Pular", nullptr},
        {Step::google, 0, false, "", true, "Continuar", nullptr},
        {Step::name, 0, false, "", false, "Continuar", nullptr},
        {Step::hotkey, 0, false, "", false, "Continuar", nullptr},
    };
    for (const Case& c : cases) {
        const OnboardingFlow::FooterFacts f{QString(), c.granted, c.online,
                                            QString::fromUtf8(c.model), c.google};
        EXPECT_EQ(s(OnboardingFlow::primaryLabel(c.step, f)), c.label) << int(c.step);
        const auto hint = OnboardingFlow::footerHint(c.step, f);
        if (c.hint)
            EXPECT_EQ(s(hint.value_or("—")), c.hint);
        else
            EXPECT_FALSE(hint) << int(c.step);
    }
}

TEST(OnboardingFlowModel, StepsMoveOneAtATimeWithinTheirBounds) {
    EXPECT_EQ(OnboardingSteps::fromRaw(7), std::nullopt);
    EXPECT_EQ(OnboardingSteps::fromRaw(-1), std::nullopt);
    EXPECT_EQ(OnboardingSteps::fromRaw(4), Step::ai);
    EXPECT_EQ(OnboardingFlow::next(Step::google), Step::done);
    EXPECT_EQ(OnboardingFlow::next(Step::done), std::nullopt);
    EXPECT_EQ(OnboardingFlow::previous(Step::welcome), Step::welcome);
    EXPECT_EQ(OnboardingFlow::previous(Step::hotkey), Step::permissions);
    EXPECT_EQ(
        OnboardingSteps::tracked(),
        (std::vector<Step>{Step::name, Step::permissions, Step::hotkey, Step::ai, Step::google}));
    EXPECT_EQ(s(OnboardingSteps::label(Step::google)), "Google");
    EXPECT_TRUE(OnboardingSteps::label(Step::done).isEmpty());
}

TEST(HotkeyTestModel, PressesAndReleasesDriveTheTestAndItsCues) {
    using K = KeyEvent::Key;
    using Cue = Sounds::Cue;
    struct Event {
        K key;
        bool down;
        std::optional<HotkeyChoice> select;
        std::optional<Cue> cue;
        bool pressed;
        bool worked;
    };
    HotkeyTest test;
    HotkeyChoice chosen = HotkeyChoice::fn;
    const Event script[] = {
        {K::menu, true, {}, Cue::start, true, false},
        {K::menu, true, {}, Cue::start, true, false}, // a new down plays the cue again
        {K::menu, false, {}, Cue::success, false, true},
        {K::menu, true, {}, Cue::start, true, true},
        {K::menu, false, {}, {}, false, true},     // only the first pass plays success
        {K::rightAlt, false, {}, {}, false, true}, // releasing another key changes nothing
        {K::leftControl, true, {}, {}, false, true},
        {K::rightSuper, true, HotkeyChoice::rightCommand, Cue::start, true, false},
        {K::rightSuper, false, {}, Cue::success, false, true},
    };
    int i = 0;
    for (const Event& e : script) {
        const auto r = test.handle(e.key, e.down, chosen);
        if (r.select) chosen = *r.select;
        EXPECT_EQ(r.select, e.select) << i;
        EXPECT_EQ(r.cue, e.cue) << i;
        EXPECT_EQ(test.pressed(), e.pressed) << i;
        EXPECT_EQ(test.worked(), e.worked) << i;
        ++i;
    }
    test.chose();
    EXPECT_FALSE(test.worked()) << "a clicked key must be tried again";
}

TEST(HotkeyTestModel, PanelTextsByState) {
    HotkeyTest test;
    EXPECT_EQ(s(test.title(HotkeyChoice::rightOption)), "Teste: segure ⌥ Option direito");
    EXPECT_EQ(s(test.detail()), "O símbolo acende enquanto a tecla estiver pressionada.");
    test.handle(KeyEvent::Key::rightAlt, true, HotkeyChoice::rightOption);
    EXPECT_EQ(s(test.title(HotkeyChoice::rightOption)), "Isso! Agora é só falar.");
    test.handle(KeyEvent::Key::rightAlt, false, HotkeyChoice::rightOption);
    EXPECT_EQ(s(test.title(HotkeyChoice::rightOption)), "Tecla funcionando");
    EXPECT_EQ(s(test.detail()), "Toque duas vezes para o modo mãos livres. Esc cancela.");
}

TEST(HotkeyTestModel, TheFnWarningNeverShowsWithoutASystemSetting) {
    const std::tuple<HotkeyChoice, std::optional<int>, const char*> cases[] = {
        {HotkeyChoice::fn, std::nullopt, nullptr},
        {HotkeyChoice::fn, 0, nullptr},
        {HotkeyChoice::rightOption, 2, nullptr},
        {HotkeyChoice::fn, 2, "mostrar emojis e símbolos"},
        {HotkeyChoice::fn, 7, "um atalho do sistema"}};
    for (const auto& [key, usage, action] : cases) {
        const auto w = PageTexts::fnWarning(key, usage);
        if (!action)
            EXPECT_FALSE(w);
        else
            EXPECT_TRUE(w && w->contains(QStringLiteral("**") + QString::fromUtf8(action) + "**"));
    }
}

TEST(AIStepModelTable, FamiliesAndTheProviderEachTileSelects) {
    using F = AIStepModel::Family;
    using AIStepModel::Detected;
    const Detected none;
    const Detected ollama{{AIProvider::ollama, {}}};
    const std::tuple<F, AIProvider, Detected, std::optional<AIProvider>> cases[] = {
        {F::cloud, AIProvider::lmStudio, none, AIProvider::groq},
        {F::account, AIProvider::groq, none, AIProvider::claudeAccount},
        {F::local, AIProvider::groq, none, AIProvider::lmStudio},
        {F::local, AIProvider::groq, ollama, AIProvider::ollama},
        {F::cloud, AIProvider::anthropic, none, std::nullopt}, // already chosen: stays
        {F::local, AIProvider::custom, ollama, std::nullopt}};
    for (const auto& [family, current, detected, expected] : cases)
        EXPECT_EQ(AIStepModel::choose(family, current, detected), expected)
            << int(family) << " from " << s(current.rawValue());
    for (AIProvider p : AIProvider::allCases())
        EXPECT_FALSE(AIStepModel::chipName(p).isEmpty());
    EXPECT_EQ(AIStepModel::familyOf(AIProvider::openRouter), F::cloud);
    EXPECT_EQ(AIStepModel::familyOf(AIProvider::custom), F::local);
}

TEST(AIStepModelTable, FoundBadgeCountsServers) {
    using AIStepModel::Detected;
    EXPECT_FALSE(AIStepModel::foundBadge({}));
    EXPECT_EQ(s(*AIStepModel::foundBadge(Detected{{AIProvider::ollama, {}}})),
              "1 encontrado no Mac");
    EXPECT_EQ(s(*AIStepModel::foundBadge(
                  Detected{{AIProvider::ollama, {}}, {AIProvider::custom, {"a"}}})),
              "2 encontrados no Mac");
}

TEST(AIStepModelTable, TheAutomaticSwitchActsOnlyOnAFirstRunWithTheProviderOffline) {
    using AIStepModel::Detected;
    const Detected found{{AIProvider::ollama, {"llama"}}, {AIProvider::custom, {}}};
    const std::tuple<bool, AIConnection, AIProvider, Detected, std::optional<AIProvider>> cases[] =
        {{false, AIConnection::offline, AIProvider::groq, found, AIProvider::ollama},
         {true, AIConnection::offline, AIProvider::groq, found, std::nullopt},
         {false, AIConnection::checking, AIProvider::groq, found, std::nullopt},
         {false, AIConnection::online, AIProvider::groq, found, std::nullopt},
         {false, AIConnection::offline, AIProvider::custom, found, std::nullopt},
         {false, AIConnection::offline, AIProvider::groq, Detected{}, std::nullopt}};
    int i = 0;
    for (const auto& [completed, connection, current, detected, expected] : cases)
        EXPECT_EQ(AIStepModel::automaticSwitch(completed, connection, current, detected), expected)
            << i++;
}

TEST(AIStepModelTable, ModelPickingLineAndDetail) {
    const QStringList listed{"qwen", "llama"};
    EXPECT_EQ(AIStepModel::pickModel(AIProvider::lmStudio, "gone", listed), "qwen");
    EXPECT_EQ(AIStepModel::pickModel(AIProvider::lmStudio, "llama", listed), std::nullopt);
    EXPECT_EQ(AIStepModel::pickModel(AIProvider::groq, "typed", listed), std::nullopt);
    EXPECT_EQ(AIStepModel::pickModel(AIProvider::groq, "", listed), "qwen");
    EXPECT_EQ(AIStepModel::pickModel(AIProvider::ollama, "", {}), std::nullopt);

    const std::tuple<AIConnection, const char*, QStringList, const char*> lines[] = {
        {AIConnection::checking, "x", listed, "Verificando…"},
        {AIConnection::unknown, "x", listed, "Verificando…"},
        {AIConnection::online, "", listed, "Conectado · escolha um modelo"},
        {AIConnection::online, "typed", listed, "Conectado, mas o modelo não foi encontrado"},
        {AIConnection::online, "typed", {}, "TITLE"},
        {AIConnection::online, "qwen", listed, "TITLE"},
        {AIConnection::offline, "qwen", listed, "TITLE"}};
    for (const auto& [connection, model, models, line] : lines)
        EXPECT_EQ(
            s(AIStepModel::statusTitle(connection, "TITLE", QString::fromUtf8(model), models)),
            line);

    EXPECT_EQ(s(AIStepModel::modelDetail(AIProvider::groq, {"a"})), "1 disponível");
    EXPECT_EQ(s(AIStepModel::modelDetail(AIProvider::groq, listed)), "2 disponíveis");
    EXPECT_EQ(s(AIStepModel::modelDetail(AIProvider::ollama, {})), "Baixe um modelo no Ollama");
    EXPECT_EQ(s(AIStepModel::modelDetail(AIProvider::gemini, {})), "Digite o nome do modelo");
    EXPECT_EQ(s(AIStepModel::testResult("Bom dia.", 1.4)), "“Bom dia.” · 1.4 s");
    EXPECT_EQ(s(AIStepModel::testResult("Bom dia.", std::nullopt)), "“Bom dia.”");
}

TEST(PageTextsTable, GreetingsByName) {
    EXPECT_EQ(s(PageTexts::finalGreeting("", "")), "Olá!");
    EXPECT_EQ(s(PageTexts::finalGreeting("", "Rui")), "Olá, Rui.");
    EXPECT_EQ(s(PageTexts::finalGreeting("  ", "Rui")), "Olá,   .") << "blanks are a name here";
    EXPECT_EQ(PageTexts::greetings().size(), 7);
    EXPECT_EQ(s(PageTexts::nameGreeting("  ")), "Oi! Você tem 2 e-mails novos.");
    EXPECT_EQ(s(PageTexts::nameGreeting(" Ana\t")), "Oi, Ana! Você tem 2 e-mails novos.");
    EXPECT_EQ(s(PageTexts::doneTitle("")), "Tudo pronto.");
    EXPECT_EQ(s(PageTexts::doneTitle(" Ana ")), "Tudo pronto,  Ana .") << "shown as stored";
}

TEST(PageTextsTable, ADownloadedFileNameIsNeverMarkup) {
    const QString name = QStringLiteral("client_secret_**x**<b>y</b>_[a](http://e).json");
    const QList<MarkdownRun> runs = PageTexts::credentialsStep(name);
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[1].text, name);
    EXPECT_TRUE(runs[1].strong);
    EXPECT_TRUE(runs[1].link.isEmpty());
    const QString html = InlineMarkdown::toHtml(runs);
    EXPECT_FALSE(html.contains(QStringLiteral("<b>y</b>")));
    EXPECT_TRUE(html.contains(QStringLiteral("**x**")));
    EXPECT_EQ(s(PageTexts::credentialsButton(true)), "Usar este");
    EXPECT_EQ(s(PageTexts::credentialsButton(false)), "Importar .json");
    EXPECT_FALSE(PageTexts::canImport("ana.gmail.com"));
}

TEST(PageTextsTable, SummaryTilesSayWhatIsMissing) {
    PageTexts::DoneFacts f;
    auto tiles = PageTexts::summary(f);
    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_EQ(tiles[0], (PageTexts::Tile{"Tecla", "Fn / 🌐", true}));
    EXPECT_EQ(tiles[1], (PageTexts::Tile{"IA", "Configure em Ajustes › IA", false}));
    EXPECT_EQ(tiles[2], (PageTexts::Tile{"Permissões", "0 de 3 · faltam no menu", false}));
    EXPECT_EQ(tiles[3], (PageTexts::Tile{"Google", "Não conectado", false}));

    f.connection = AIConnection::online;
    f.provider = AIProvider::ollama;
    f.grantedCount = 3;
    f.workspaceServer = true;
    tiles = PageTexts::summary(f);
    EXPECT_EQ(tiles[1],
              (PageTexts::Tile{"IA", AIProvider(AIProvider::ollama).label() + " · ", true}));
    EXPECT_EQ(tiles[2], (PageTexts::Tile{"Permissões", "Todas permitidas", true}));
    EXPECT_EQ(tiles[3], (PageTexts::Tile{"Google", "Drive e Docs", true}));
    f.unnamedAccount = true;
    EXPECT_EQ(PageTexts::summary(f)[3].value, "Conectado");
    f.googleAccounts = {"ana@gmail.com", "rui@gmail.com"};
    EXPECT_EQ(PageTexts::summary(f)[3].value, "ana@gmail.com");
}

TEST(ConfettiModel, PiecesFollowFromTheirIndexAlone) {
    const QSizeF canvas(600, 500);
    const auto p0 = Confetti::piece(0, 0, canvas);
    EXPECT_EQ(p0.center, QPointF(300, 100));
    EXPECT_EQ(p0.size, QSizeF(5, 3));
    EXPECT_EQ(p0.rotation, 0);
    EXPECT_EQ(p0.color, 0);
    // Particle 0 leaves at 260 per second towards -pi/2 - 1.3, then falls back.
    const auto p1 = Confetti::piece(0, 1, canvas);
    const double theta = -std::numbers::pi / 2 - 1.3;
    EXPECT_NEAR(p1.center.x(), 300 + 260 * std::cos(theta), 1e-6);
    EXPECT_NEAR(p1.center.y(), 100 + 260 * std::sin(theta) + 260, 1e-6);
    EXPECT_EQ(Confetti::piece(5, 2, canvas).center, Confetti::piece(5, 2, canvas).center);
    EXPECT_EQ(Confetti::piece(6, 0, canvas).color, 2);
    EXPECT_DOUBLE_EQ(Confetti::opacity(0), 1);
    EXPECT_DOUBLE_EQ(Confetti::opacity(3.6), 0);
    EXPECT_DOUBLE_EQ(Confetti::opacity(3.9), 0);
}

TEST(OnboardingMotionTable, PagesSlideTheWayTheFlowMoves) {
    // Forward the new page comes from the right and the old one leaves to the left; back,
    // the reverse. Only the page coming in grows from 0.97.
    struct Case {
        bool forward;
        double p;
        double inDx, inScale, inOpacity, outDx, outOpacity;
    };
    const Case cases[] = {
        {true, 0, 70, 0.97, 0, 0, 1},
        {true, 0.5, 35, 0.985, 0.5, -35, 0.5},
        {true, 1, 0, 1, 1, -70, 0},
        {false, 0, -70, 0.97, 0, 0, 1},
        {false, 0.5, -35, 0.985, 0.5, 35, 0.5},
        {false, 1, 0, 1, 1, 70, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.forward << " at " << c.p);
        const MotionLook in = OnboardingMotion::pageIn(c.forward, c.p);
        const MotionLook out = OnboardingMotion::pageOut(c.forward, c.p);
        EXPECT_DOUBLE_EQ(in.dx, c.inDx);
        EXPECT_DOUBLE_EQ(in.scale, c.inScale);
        EXPECT_DOUBLE_EQ(in.opacity, c.inOpacity);
        EXPECT_EQ(in.dy, 0);
        EXPECT_DOUBLE_EQ(out.dx, c.outDx);
        EXPECT_DOUBLE_EQ(out.opacity, c.outOpacity);
        EXPECT_EQ(out.scale, 1);
    }
    // A spring's overshoot never makes anything more than opaque.
    EXPECT_EQ(OnboardingMotion::pageIn(true, 1.04).opacity, 1);
    EXPECT_EQ(OnboardingMotion::pageOut(true, 1.04).opacity, 0);
}

TEST(OnboardingMotionTable, EveryPartStartsWhereThePartsSayAndRestsInPlace) {
    using F = MotionLook (*)(double);
    struct Case {
        const char* part;
        F look;
        MotionLook start;
    };
    const Case cases[] = {
        {"marks", [](double p) { return OnboardingMotion::fromTop(40, p); }, {0, 0, -40, 1, 0}},
        {"footer", [](double p) { return OnboardingMotion::fromBottom(70, p); }, {0, 0, 70, 1, 0}},
        {"hint", &OnboardingMotion::fade, {0, 0, 0, 1, 0}},
        {"welcome mark", &OnboardingMotion::welcomeMark, {0, 0, 0, 0.4, 24}},
        {"welcome text", &OnboardingMotion::welcomeText, {0, 0, 12, 1, 0}},
        {"welcome button", &OnboardingMotion::welcomeButtons, {0, 0, 0, 0.9, 0}},
        {"new word", &OnboardingMotion::wordIn, {0, 0, 14, 0.92, 0}},
        {"done mark", &OnboardingMotion::doneMark, {0, 0, 0, 0.5, 0}},
        {"done title", &OnboardingMotion::doneTitle, {0, 0, 16, 1, 0}},
        {"done grid", &OnboardingMotion::doneGrid, {0, 0, 20, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        const MotionLook start = c.look(0);
        EXPECT_DOUBLE_EQ(start.opacity, c.start.opacity);
        EXPECT_DOUBLE_EQ(start.dy, c.start.dy);
        EXPECT_DOUBLE_EQ(start.scale, c.start.scale);
        EXPECT_DOUBLE_EQ(start.blur, c.start.blur);
        EXPECT_TRUE(c.look(1).isAtRest());
    }
    // The old word rises 14 pt while it fades; the ring ripples out from 0.6 to 2.6, fading
    // from 0.8 to nothing.
    EXPECT_EQ(OnboardingMotion::wordOut(1), (MotionLook{0, 0, -14, 1, 0}));
    EXPECT_TRUE(OnboardingMotion::wordOut(0).isAtRest());
    EXPECT_EQ(OnboardingMotion::welcomeRing(0), (MotionLook{0.8, 0, 0, 0.6, 0}));
    EXPECT_EQ(OnboardingMotion::welcomeRing(1), (MotionLook{0, 0, 0, 2.6, 0}));
}

TEST(OnboardingMotionTable, TheWelcomeTimeline) {
    using K = OnboardingMotion::Beat::Kind;
    const auto beats = OnboardingMotion::welcomeTimeline(PageTexts::greetings());
    struct Expected {
        double at;
        K kind;
        int phase;
        const char* word;
        OnboardingMotion::Curve curve;
    };
    const auto spring = &OnboardingMotion::spring;
    const Expected expected[] = {
        {0.35, K::phase, 1, "", spring(1.1, 0.72)},
        {0.35, K::ripple, 0, "", OnboardingMotion::easeOut(1.6)},
        {1.15, K::phase, 2, "", OnboardingMotion::easeOut(0.5)},
        {1.58, K::word, 0, "Hello", spring(0.45, 0.85)},
        {2.01, K::word, 0, "Hola", spring(0.45, 0.85)},
        {2.44, K::word, 0, "Bonjour", spring(0.45, 0.85)},
        {2.87, K::word, 0, "Ciao", spring(0.45, 0.85)},
        {3.30, K::word, 0, "Hallo", spring(0.45, 0.85)},
        {3.73, K::word, 0, "こんにちは", spring(0.45, 0.85)},
        {4.23, K::phase, 3, "", spring(0.7, 0.8)},
        {5.13, K::phase, 4, "", {OnboardingMotion::Curve::Kind::spring, Theme::morph(), 0}},
    };
    ASSERT_EQ(beats.size(), std::size(expected));
    for (std::size_t i = 0; i < beats.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(beats[i].at, expected[i].at, 1e-9);
        EXPECT_EQ(beats[i].kind, expected[i].kind);
        EXPECT_EQ(beats[i].phase, expected[i].phase);
        EXPECT_EQ(s(beats[i].word), expected[i].word);
        EXPECT_EQ(beats[i].curve, expected[i].curve);
    }
}

TEST(ProgressMarksTable, AtRestAndMidwayBetweenTwoSteps) {
    auto width = [](Step) { return 40.0; };
    using M = ProgressMarksModel;
    // At rest on the first and the last tracked step, as the Parts draw them.
    const auto first = M::layout(Step::name, Step::name, 1, width);
    ASSERT_EQ(first.marks.size(), 5u);
    EXPECT_EQ(first.marks[0].current, 1);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(first.marks[i].done, 0);
        if (i > 0) EXPECT_EQ(first.marks[i].current, 0);
    }
    const auto last = M::layout(Step::google, Step::google, 1, width);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(last.marks[i].done, 1);
        EXPECT_EQ(last.marks[i].connectorDone, 1);
    }
    EXPECT_EQ(last.marks[4].current, 1);
    EXPECT_LT(last.marks[4].connectorX, 0) << "no connector after the last mark";

    // (p, x of each mark, current of name and permissions, done of name)
    struct Case {
        double p;
        double x[5];
        double nameCurrent, permissionsCurrent, nameDone;
    };
    const Case cases[] = {
        {0, {14, 112, 164, 216, 268}, 1, 0, 0},
        {0.5, {14, 89, 164, 216, 268}, 0.5, 0.5, 0.5},
        {1, {14, 66, 164, 216, 268}, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.p);
        const auto row = M::layout(Step::name, Step::permissions, c.p, width);
        for (std::size_t i = 0; i < 5; ++i)
            EXPECT_DOUBLE_EQ(row.marks[i].x, c.x[i]) << i;
        EXPECT_DOUBLE_EQ(row.marks[0].current, c.nameCurrent);
        EXPECT_DOUBLE_EQ(row.marks[1].current, c.permissionsCurrent);
        EXPECT_DOUBLE_EQ(row.marks[0].done, c.nameDone);
        EXPECT_DOUBLE_EQ(row.marks[0].connectorDone, c.nameDone);
        EXPECT_DOUBLE_EQ(row.width, 300);
    }
    // The ends of a change are the two rows at rest; a longer label widens the row.
    const auto start = M::layout(Step::hotkey, Step::ai, 0, width);
    const auto rest = M::layout(Step::hotkey, Step::hotkey, 1, width);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(start.marks[i].x, rest.marks[i].x);
        EXPECT_DOUBLE_EQ(start.marks[i].done, rest.marks[i].done);
    }
    auto wide = [](Step s) { return s == Step::ai ? 100.0 : 40.0; };
    EXPECT_DOUBLE_EQ(M::layout(Step::hotkey, Step::ai, 1, wide).width, 360);
    EXPECT_DOUBLE_EQ(M::layout(Step::hotkey, Step::ai, 0.5, wide).width, 330);
}

TEST(OnboardingMotionTable, KeysOfTheDrawnKeyboardAtRestAndOnTheWay) {
    struct Case {
        const char* state;
        bool selectable;
        double chosen, lit;
        OnboardingMotion::KeyLook look;
    };
    const Case cases[] = {
        {"decorative", false, 0, 0, {0.03, 0.1, 0, 1, 0}},
        {"selectable", true, 0, 0, {0.06, 0.1, 0, 1, 0}},
        {"chosen", true, 1, 0, {1.0, 0.4, 1, 1, 0}},
        {"chosen and held", true, 1, 1, {0.82, 0, 1, 0.94, 2}},
        {"half chosen", true, 0.5, 0, {0.53, 0.25, 0.5, 1, 0}},
        {"half pressed", true, 1, 0.5, {0.91, 0.2, 1, 0.97, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        const auto look = OnboardingMotion::key(c.selectable, c.chosen, c.lit);
        EXPECT_NEAR(look.fill, c.look.fill, 1e-9);
        EXPECT_NEAR(look.edge, c.look.edge, 1e-9);
        EXPECT_NEAR(look.white, c.look.white, 1e-9);
        EXPECT_NEAR(look.scale, c.look.scale, 1e-9);
        EXPECT_NEAR(look.dy, c.look.dy, 1e-9);
    }
    // The check mark starts from almost nothing, never from a degenerate zero scale.
    EXPECT_GT(OnboardingMotion::checkIn(0).scale, 0);
    EXPECT_EQ(OnboardingMotion::checkIn(0).opacity, 0);
    EXPECT_TRUE(OnboardingMotion::checkIn(1).isAtRest());
}
