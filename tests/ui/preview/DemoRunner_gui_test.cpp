// The scripted demo on a manual clock: its scenes, ticks and texts, the guards of `run`, and
// a real voice interaction taking the live state over mid-demo.
#include "ui/preview/DemoRunner.h"

#include "core/AppState.h"
#include "support/Printers.h"
#include "support/RecordedSpeech.h"
#include "support/VoiceRig.h"
#include "support/fakes/ManualClock.h"
#include "ui/components/SiteButton.h"
#include "ui/settings/GeneralSettings.h"
#include "ui/windows/WindowManager.h"

#include <QAbstractButton>
#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;

namespace {

const char* stageName(Stage s) {
    switch (s) {
    case Stage::idle:
        return "idle";
    case Stage::listening:
        return "listening";
    case Stage::processing:
        return "processing";
    case Stage::success:
        return "success";
    case Stage::error:
        return "error";
    case Stage::confirming:
        return "confirming";
    case Stage::answer:
        return "answer";
    }
    return "?";
}

// Every change the overlays would draw, with the time since the demo began.
struct Trace {
    Trace(AppState& state, ManualClock& clock)
        : origin(clock.uptime()) {
        auto note = [&clock, this](QStringList& into, auto what) {
            return [&clock, &into, this, what] {
                into << QStringLiteral("%1 %2").arg((clock.uptime() - origin).count()).arg(what());
            };
        };
        auto mode = [&state] { return state.mode() == VoiceMode::agent ? "agent" : "dictation"; };
        QObject::connect(&state, &AppState::stageChanged, note(lines, [&state] {
            return QString::fromUtf8(stageName(state.stage()));
        }));
        QObject::connect(&state, &AppState::modeChanged, note(lines, [mode] {
            return QStringLiteral("mode ") + QString::fromUtf8(mode());
        }));
        QObject::connect(&state, &AppState::handsFreeChanged, note(lines, [&state] {
            return QStringLiteral("mãos livres ") +
                   (state.handsFree() ? QStringLiteral("on") : "off");
        }));
        QObject::connect(&state, &AppState::statusTextChanged, note(lines, [&state] {
            return QStringLiteral("status ") + state.statusText();
        }));
        QObject::connect(&state, &AppState::errorCountChanged, note(lines, [&state] {
            return QStringLiteral("erros %1").arg(state.errorCount());
        }));
        QObject::connect(&state, &AppState::liveTextChanged,
                         note(texts, [&state] { return state.liveText(); }));
        // A pushed level drops the oldest value first: the ring is one short for a moment.
        QObject::connect(&state, &AppState::levelsChanged, [&state, this] {
            if (state.levels().size() == AppState::kLevelCount - 1) ++pushes;
        });
    }
    Clock::Duration origin;
    QStringList lines;
    QStringList texts;
    int pushes = 0;
};

} // namespace

TEST(DemoRunnerRules, TicksPrefixesAndEnvelope) {
    struct Ticks {
        double seconds;
        int ticks;
    };
    for (const Ticks c : {Ticks{4.2, 189}, Ticks{2.6, 117}, Ticks{0.8, 36}, Ticks{2.4, 108},
                          Ticks{1.0, 45}, Ticks{0.7, 31}, Ticks{0.0, 0}})
        EXPECT_EQ(DemoRunner::tickCount(c.seconds), c.ticks) << c.seconds;

    const QStringList words =
        QStringLiteral("Oi pessoal, o deploy vai ser hoje às 18h. Cada um revisa o seu PR até lá, "
                       "combinado?")
            .split(u' ');
    ASSERT_EQ(words.size(), 18);
    struct Prefix {
        int tick;
        const char* shown;
    };
    for (const Prefix c : {Prefix{0, ""}, Prefix{4, ""}, Prefix{5, "Oi"}, Prefix{15, "Oi pessoal,"},
                           Prefix{182, "Oi pessoal, o deploy vai ser hoje às 18h. Cada um revisa o "
                                       "seu PR até lá,"},
                           Prefix{183, "Oi pessoal, o deploy vai ser hoje às 18h. Cada um revisa o "
                                       "seu PR até lá, combinado?"}})
        EXPECT_EQ(DemoRunner::visiblePrefix(words, c.tick, 189), QString::fromUtf8(c.shown))
            << c.tick;
    EXPECT_EQ(DemoRunner::visiblePrefix({}, 3, 45), QString());

    EXPECT_EQ(DemoRunner::envelope(0), 0.0);
    double highest = 0;
    for (int i = 0; i < 500; ++i) {
        const double e = DemoRunner::envelope(i);
        ASSERT_GE(e, 0.0);
        ASSERT_LE(e, 1.0);
        highest = std::max(highest, e);
    }
    EXPECT_GT(highest, 0.9);
}

TEST(DemoRunnerScript, PlaysTheFourScenesInOrderWithTheirTicks) {
    ManualClock clock;
    AppState state;
    state.setErrorCount(2);
    DemoRunner demo(state, &clock);
    QList<bool> playing;
    QObject::connect(&demo, &DemoRunner::playingChanged, [&](bool on) { playing << on; });
    const QDateTime started = clock.now();
    Trace trace(state, clock);

    demo.run();
    EXPECT_TRUE(demo.isPlaying());
    // The first tick has run: a level of exactly 0 over the fresh zeros.
    EXPECT_EQ(state.levels(), QList<float>(AppState::kLevelCount, 0.0f));
    clock.advance(Clock::Duration(24'989));
    EXPECT_TRUE(demo.isPlaying());
    clock.advance(Clock::Duration(1));
    EXPECT_FALSE(demo.isPlaying());
    EXPECT_EQ(playing, QList<bool>({true, false}));

    // 189, 117, 36 + 108 and 45 ticks of 22 ms; steps of 1.1 s; holds; 0.7 s between scenes.
    EXPECT_EQ(trace.lines, QStringList({
                               "0 listening",
                               "4158 processing",
                               "4158 status Transcrevendo…",
                               "5258 status Refinando…",
                               "6358 status 18 palavras",
                               "6358 success",
                               "7758 idle",
                               // hands-free dictation
                               "8458 status ",
                               "8458 listening",
                               "8458 mãos livres on",
                               "11032 mãos livres off",
                               "11032 processing",
                               "11032 status Refinando…",
                               "12132 status 6 palavras",
                               "12132 success",
                               "13332 idle",
                               // an agent request
                               "14032 status ",
                               "14032 listening",
                               "14824 mode agent",
                               "17200 processing",
                               "17200 status Pensando…",
                               "18300 status Criando lembrete…",
                               "19400 status Lembrete criado",
                               "19400 success",
                               "20800 idle",
                               // nothing heard
                               "21500 mode dictation",
                               "21500 status ",
                               "21500 listening",
                               "22490 status Não ouvi nada",
                               "22490 erros 3",
                               "22490 error",
                               "24290 idle",
                           }))
        << trace.lines.join(u'\n').toStdString();
    EXPECT_EQ(trace.pushes, 189 + 117 + 36 + 108 + 45);

    // Scene 1's words appear one by one: the first on the sixth tick, all by the end.
    const QStringList scene1 = trace.texts.mid(0, 18);
    EXPECT_EQ(scene1.first(), "110 Oi");
    EXPECT_EQ(scene1.last(), "4026 Oi pessoal, o deploy vai ser hoje às 18h. Cada um revisa o "
                             "seu PR até lá, combinado?");
    EXPECT_EQ(trace.texts.at(18), "8458 "); // the next scene starts empty
    // Scene 3's longer sentence starts again from nothing, then from its first word.
    EXPECT_TRUE(trace.texts.contains("14824 ")) << trace.texts.join('\n').toStdString();
    EXPECT_TRUE(trace.texts.contains("14934 Me")) << trace.texts.join('\n').toStdString();

    // What the demo leaves behind.
    EXPECT_EQ(state.stage(), Stage::idle);
    EXPECT_EQ(state.mode(), VoiceMode::dictation);
    EXPECT_FALSE(state.handsFree());
    EXPECT_EQ(state.liveText(), QString());
    EXPECT_EQ(state.statusText(), QStringLiteral("Não ouvi nada"));
    EXPECT_EQ(state.errorCount(), 3);
    EXPECT_EQ(state.listeningSince(), started.addMSecs(21'500));
    for (float level : state.levels()) {
        EXPECT_GE(level, 0.0f);
        EXPECT_LE(level, 0.05f); // the silent scene's murmur
    }
    EXPECT_EQ(clock.pendingTimers(), 0);
}

TEST(DemoRunnerScript, RunStartsOneDemoAndOnlyFromIdle) {
    ManualClock clock;
    AppState state;
    {
        DemoRunner demo(state, &clock);
        state.setStage(Stage::listening); // a real recording
        demo.run();
        EXPECT_FALSE(demo.isPlaying());
        EXPECT_FALSE(state.listeningSince().has_value());

        state.setStage(Stage::idle);
        Trace trace(state, clock);
        demo.run();
        clock.advance(Clock::Duration(2000));
        demo.run(); // a second press: ignored, nothing restarts
        clock.advance(Clock::Duration(3000));
        EXPECT_EQ(trace.lines,
                  QStringList({"0 listening", "4158 processing", "4158 status Transcrevendo…"}));
    }
    // The runner went away mid-script: its pause ended with it and nothing more is written.
    const Stage left = state.stage();
    EXPECT_EQ(clock.pendingTimers(), 0);
    clock.advance(Clock::Duration(30'000));
    EXPECT_EQ(state.stage(), left);
}

// A hotkey press mid-demo is a real interaction: the demo gives the live state up before the
// controller's first write, and never writes again.
TEST(DemoRunnerYield, ARealDictationMidDemoKeepsItsOwnStage) {
    test::VoiceRig rig(test::RecordedSpeech::goForwardPath());
    rig.answerCleanup(QStringLiteral("go forward ten meters"),
                      QStringLiteral("Go forward ten meters."));
    AppState& state = rig.state();
    VoiceController& controller = rig.controller();
    DemoRunner demo(state, &rig.clock());
    controller.setGuest({[&] { return demo.isPlaying(); }, [&] { demo.yield(); }});
    const int errors = state.errorCount();

    demo.run();
    rig.advance(1000);
    ASSERT_EQ(state.stage(), Stage::listening);
    ASSERT_TRUE(state.liveText().startsWith(QStringLiteral("Oi pessoal")));
    // Keys that only mean something during a real interaction leave the demo alone.
    controller.escapePressed();
    controller.controlChanged(true);
    controller.controlChanged(false);
    EXPECT_TRUE(demo.isPlaying());
    EXPECT_EQ(state.mode(), VoiceMode::dictation);
    EXPECT_EQ(state.errorCount(), errors);

    QStringList texts;
    QObject::connect(&state, &AppState::liveTextChanged, [&] { texts << state.liveText(); });
    rig.holdAndSpeak();
    EXPECT_FALSE(demo.isPlaying());
    ASSERT_TRUE(rig.waitForStage(Stage::success));
    EXPECT_EQ(rig.pasted, QStringList{QStringLiteral("Go forward ten meters.")});
    EXPECT_EQ(state.statusText(), QStringLiteral("4 palavras"));
    for (const QString& t : texts)
        EXPECT_FALSE(t.contains(QStringLiteral("pessoal"))) << t.toStdString();

    // Long past the demo's end: nothing of its script came back.
    rig.advance(30'000);
    EXPECT_EQ(state.stage(), Stage::idle);
    EXPECT_EQ(state.statusText(), QStringLiteral("4 palavras"));
    EXPECT_EQ(state.errorCount(), errors);
    EXPECT_EQ(state.liveText(), QStringLiteral("go forward ten meters"));
}

// A request typed into the island while the demo shows "listening" is taken, not refused as
// busy: the demo steps aside first.
TEST(DemoRunnerYield, ATypedRequestMidDemoIsTaken) {
    test::VoiceRig rig(test::RecordedSpeech::goForwardPath());
    AppState& state = rig.state();
    DemoRunner demo(state, &rig.clock());
    rig.controller().setGuest({[&] { return demo.isPlaying(); }, [&] { demo.yield(); }});
    demo.run();
    rig.advance(500);
    ASSERT_EQ(state.stage(), Stage::listening);
    EXPECT_FALSE(rig.controller().submitTyped(QStringLiteral("que horas são")).has_value());
    EXPECT_FALSE(demo.isPlaying());
    EXPECT_EQ(state.stage(), Stage::processing);
    EXPECT_EQ(state.mode(), VoiceMode::agent);
    EXPECT_EQ(state.liveText(), QStringLiteral("que horas são"));
    rig.advance(4000); // the demo would have been processing its own dictation by now
    EXPECT_EQ(state.liveText(), QStringLiteral("que horas são"));
}

TEST(DemoButton, SettingsButtonPlaysTheDemoWhenTheApplicationOffersIt) {
    int runs = 0;
    WindowManager::shared().setRunDemo([&] { ++runs; });
    {
        GeneralSettings pane;
        QAbstractButton* button = nullptr;
        for (auto* b : pane.findChildren<QAbstractButton*>())
            if (b->text() == QStringLiteral("Reproduzir")) button = b;
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isEnabled());
        button->click();
        EXPECT_EQ(runs, 1);
    }
    WindowManager::shared().setRunDemo({});
    GeneralSettings pane;
    for (auto* b : pane.findChildren<QAbstractButton*>())
        if (b->text() == QStringLiteral("Reproduzir")) {
            EXPECT_FALSE(b->isEnabled());
        }
}
