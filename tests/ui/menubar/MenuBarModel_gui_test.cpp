// The tray's rules without a window: the icon by stage, the texts of the header and cards,
// which cards show and which footer buttons can be used, and where the window opens.
#include "support/Clock.h"
#include "support/Printers.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/FrameClock.h"
#include "ui/menubar/MenuBarIconModel.h"
#include "ui/menubar/MenuBarModel.h"
#include "ui/menubar/MenuBarPlacement.h"
#include "ui/menubar/SwitchToggle.h"

#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using M = MenuBarModel;

namespace {

TEST(MenuBarIcon, LabelByStageAndMode) {
    struct Case {
        Stage stage;
        VoiceMode mode;
        MenuBarLabel label;
    };
    const Case cases[] = {
        {Stage::idle, VoiceMode::agent, {true, {}, false}},
        {Stage::success, VoiceMode::dictation, {true, {}, false}},
        {Stage::listening, VoiceMode::dictation, {false, "waveform", true}},
        {Stage::listening, VoiceMode::agent, {false, "sparkles", true}},
        {Stage::processing, VoiceMode::dictation, {false, "waveform", true}},
        {Stage::processing, VoiceMode::agent, {false, "sparkles", true}},
        {Stage::error, VoiceMode::agent, {false, "exclamationmark.bubble", false}},
        {Stage::confirming, VoiceMode::agent, {false, "waveform", false}},
        {Stage::answer, VoiceMode::agent, {false, "waveform", false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuBarIconModel::label(c.stage, c.mode), c.label)
            << int(c.stage) << " " << int(c.mode);
}

TEST(MenuBarIcon, OneLayerLightsAtATimeInOrder) {
    const double d = MenuBarIconModel::kDimmedLayer;
    struct Case {
        int layers, step;
        std::vector<double> opacities;
    };
    const Case cases[] = {
        {5, 0, {1, d, d, d, d}},
        {5, 3, {d, d, d, 1, d}},
        {5, 5, {1, d, d, d, d}},
        {2, 7, {d, 1}},
        {1, 4, {1}},
        {0, 2, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuBarIconModel::layerOpacities(c.layers, c.step), c.opacities)
            << c.layers << " layers, step " << c.step;
}

TEST(MenuBarHeader, StatusLineByStage) {
    struct Case {
        Stage stage;
        VoiceMode mode;
        HotkeyChoice key;
        QString expected;
    };
    const QString status = "Inserido · 4 palavras";
    const Case cases[] = {
        {Stage::idle, VoiceMode::dictation, HotkeyChoice::fn, "Pronto · segure Fn / 🌐"},
        {Stage::idle, VoiceMode::agent, HotkeyChoice::rightOption,
         "Pronto · segure ⌥ Option direito"},
        {Stage::idle, VoiceMode::dictation, HotkeyChoice::rightCommand,
         "Pronto · segure ⌘ Command direito"},
        {Stage::listening, VoiceMode::dictation, HotkeyChoice::fn, "Ouvindo…"},
        {Stage::listening, VoiceMode::agent, HotkeyChoice::fn, "Ouvindo o pedido…"},
        {Stage::processing, VoiceMode::agent, HotkeyChoice::fn, status},
        {Stage::success, VoiceMode::dictation, HotkeyChoice::fn, status},
        {Stage::error, VoiceMode::dictation, HotkeyChoice::fn, status},
        {Stage::confirming, VoiceMode::agent, HotkeyChoice::fn, "Aguardando sua confirmação"},
        {Stage::answer, VoiceMode::agent, HotkeyChoice::fn, "Respondendo…"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(M::statusLine(c.stage, c.mode, c.key, status), c.expected) << int(c.stage);
    EXPECT_EQ(M::keyCapLabel(HotkeyChoice::fn), "fn");
    EXPECT_EQ(M::keyCapLabel(HotkeyChoice::rightOption), "⌥");
    EXPECT_EQ(M::keyCapLabel(HotkeyChoice::rightCommand), "⌘");
}

TEST(MenuBarHeader, BrandMarkFollowsTheStage) {
    const QList<float> levels{0.1f, 0.2f, 0.7f};
    const BrandMarkInputs dictating = M::brandMark(Stage::listening, VoiceMode::dictation, levels);
    EXPECT_DOUBLE_EQ(dictating.level, double(0.7f));
    ASSERT_TRUE(dictating.levels.has_value());
    EXPECT_EQ(*dictating.levels, levels);
    EXPECT_TRUE(dictating.glow && dictating.animated && dictating.echoes);
    EXPECT_FALSE(dictating.ball || dictating.busy);

    const BrandMarkInputs asking = M::brandMark(Stage::listening, VoiceMode::agent, levels);
    EXPECT_FALSE(asking.levels.has_value()) << "no level history in agent mode";
    EXPECT_TRUE(asking.ball);

    const BrandMarkInputs working = M::brandMark(Stage::processing, VoiceMode::dictation, levels);
    EXPECT_DOUBLE_EQ(working.level, 0);
    EXPECT_TRUE(working.busy && working.animated);
    EXPECT_FALSE(working.glow || working.levels.has_value());

    const BrandMarkInputs idle = M::brandMark(Stage::idle, VoiceMode::agent, {});
    EXPECT_FALSE(idle.animated || idle.ball || idle.busy);
    EXPECT_DOUBLE_EQ(M::brandMark(Stage::listening, VoiceMode::dictation, {}).level, 0);
}

TEST(MenuBarCards, UpdateOfferOnlyWhileAReleaseIsAvailable) {
    UpdateRelease release;
    release.version = "1.4";
    const auto offer = M::updateOffer(UpdatePhase::available(release));
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->title, "Versão 1.4 disponível");
    EXPECT_EQ(offer->notes, "Melhorias e correções");
    release.notes = "";
    EXPECT_EQ(M::updateOffer(UpdatePhase::available(release))->notes, "Melhorias e correções");
    release.notes = "Atalho novo";
    EXPECT_EQ(M::updateOffer(UpdatePhase::available(release))->notes, "Atalho novo");
    for (const UpdatePhase& other :
         {UpdatePhase::idle(), UpdatePhase::checking(), UpdatePhase::upToDate(),
          UpdatePhase::downloading(), UpdatePhase::installing(), UpdatePhase::failed("x")})
        EXPECT_FALSE(M::updateOffer(other).has_value()) << int(other.kind);
}

TEST(MenuBarCards, MissingPermissionsInTheirOrder) {
    const auto bit = [](PermissionKind k) { return 1 << int(k); };
    const int mic = bit(PermissionKind::microphone);
    const int access = bit(PermissionKind::accessibility);
    const int input = bit(PermissionKind::inputMonitoring);
    struct Case {
        int granted;
        QStringList names;
    };
    const Case cases[] = {
        {mic | access | input, {}},
        {access | input, {"Microfone"}},
        {mic, {"Acessibilidade", "Monitoramento de Entrada"}},
        {0, {"Microfone", "Acessibilidade", "Monitoramento de Entrada"}},
    };
    for (const Case& c : cases) {
        QStringList names;
        for (const auto& row : M::missingPermissions(c.granted))
            names << row.name;
        EXPECT_EQ(names, c.names) << c.granted;
    }
    const auto all = M::missingPermissions(0);
    EXPECT_EQ(all[0].symbol, "mic.fill");
    EXPECT_EQ(all[1].symbol, "accessibility");
    EXPECT_EQ(all[2].symbol, "keyboard.fill");
}

TEST(MenuBarCards, ModelLineTogglesAndRecentRows) {
    EXPECT_EQ(M::modelLine(""), "Nenhum modelo escolhido");
    EXPECT_EQ(M::modelLine("qwen3:8b"), "qwen3:8b");

    QStringList titles;
    for (const auto& t : M::toggles())
        titles << t.title;
    EXPECT_EQ(titles, (QStringList{"Refinar com IA", "Modo agente (+ ⌃)", "Sons"}));

    QList<HistoryEntry> entries;
    EXPECT_TRUE(M::recentRows(entries).isEmpty());
    using Kind = HistoryEntry::Kind;
    const Kind kinds[] = {Kind::agent, Kind::edit, Kind::dictation};
    for (int i = 0; i < 10; ++i)
        entries << HistoryEntry::make(kinds[i % 3], "App", "t", i == 0 ? "" : QString::number(i));
    EXPECT_EQ(M::recentRows(entries.mid(0, 1)).size(), 1);
    const auto rows = M::recentRows(entries);
    ASSERT_EQ(rows.size(), 3) << "the three newest";
    EXPECT_EQ(rows[0].id, entries[0].id);
    EXPECT_EQ(rows[0].output, "") << "an empty output still gives a row";
    EXPECT_EQ(rows[0].symbol, "sparkles");
    EXPECT_EQ(rows[1].symbol, "pencil");
    EXPECT_EQ(rows[2].symbol, "waveform");
    EXPECT_EQ(rows[2].output, "2");
}

TEST(MenuBarFooter, PlacesNotBuiltYetAreDisabledAndSaySo) {
    struct Case {
        M::Reachable reachable;
        bool history, settings, demo;
    };
    const Case cases[] = {
        {{false, true, false}, false, true, false},
        {{true, true, true}, true, true, true},
        {{false, false, false}, false, false, false},
    };
    for (const Case& c : cases) {
        const auto buttons = M::footer(c.reachable);
        ASSERT_EQ(buttons.size(), 4);
        EXPECT_EQ(buttons[0].action, M::Action::history);
        EXPECT_EQ(buttons[0].enabled, c.history);
        EXPECT_EQ(buttons[1].enabled, c.settings);
        EXPECT_EQ(buttons[2].enabled, c.demo);
        EXPECT_TRUE(buttons[3].enabled) << "quitting is always possible";
        for (const auto& b : buttons) {
            EXPECT_FALSE(b.title.isEmpty());
            if (!b.enabled)
                EXPECT_TRUE(b.tooltip.contains("ainda não disponível")) << b.title.toStdString();
        }
    }
    const auto buttons = M::footer({true, true, true});
    EXPECT_EQ(buttons[2].tooltip, "Ver demonstração das animações");
    EXPECT_TRUE(buttons[2].iconOnly);
    EXPECT_EQ(buttons[3].title, "Sair");
    EXPECT_EQ(buttons[3].tooltip, "Sair da Nolvea");
    EXPECT_FALSE(buttons[0].iconOnly || buttons[1].iconOnly);
}

TEST(MenuBarPlacement, UnderTheIconInsideTheScreen) {
    const QRect screen(0, 24, 1920, 1056); // a 24 px top panel
    const QSize window(340, 420);
    struct Case {
        const char* what;
        QRect icon;
        QRect expected;
    };
    const Case cases[] = {
        {"centred under an icon of the top panel", {1000, 0, 24, 24}, {841, 30, 340, 420}},
        {"kept off the right edge", {1890, 0, 24, 24}, {1580, 30, 340, 420}},
        {"kept off the left edge", {0, 0, 24, 24}, {0, 30, 340, 420}},
        {"over an icon of a bottom panel", {600, 1056, 24, 24}, {441, 631, 340, 420}},
        {"top right without an icon", {}, {1574, 30, 340, 420}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuBarPlacement::place(c.icon, window, screen), c.expected) << c.what;
    // A window taller than the screen keeps its top on screen.
    EXPECT_EQ(MenuBarPlacement::place({1000, 0, 24, 24}, {340, 2000}, screen).top(), 24);
}

} // namespace

// The switch's knob slides across on the injected clock, or jumps under reduced motion.
TEST(SwitchToggle, KnobSlidesAcrossWhenFlipped) {
    ManualClock clock;
    Clock::install(&clock);
    FrameClock::shared().setReduceMotion(false);
    {
        SwitchToggle toggle(QStringLiteral("Sons"));
        toggle.show();
        EXPECT_EQ(toggle.knob(), 0);
        toggle.setChecked(true);
        EXPECT_EQ(toggle.knob(), 0) << "it starts where it was";
        clock.advance(std::chrono::milliseconds(68));
        EXPECT_GT(toggle.knob(), 0.2);
        EXPECT_LT(toggle.knob(), 1);
        clock.advance(std::chrono::milliseconds(1000));
        EXPECT_EQ(toggle.knob(), 1);
        FrameClock::shared().setReduceMotion(true);
        toggle.setChecked(false);
        EXPECT_EQ(toggle.knob(), 0);
        FrameClock::shared().setReduceMotion(false);
    }
    Clock::install(nullptr);
}
