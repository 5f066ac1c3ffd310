// The pill's rules without a display: what shows at each stage, where the panel and its
// shapes go, how the panel takes input, and the cards' texts and thresholds.
#include "ui/overlay/AnswerCardModel.h"
#include "ui/overlay/ConfirmCardModel.h"
#include "ui/overlay/PillPlacement.h"
#include "ui/overlay/PillPresentation.h"
#include "ui/overlay/PillStagePolicy.h"

#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using namespace std::chrono_literals;

namespace {

PillInputs inputs(Stage stage, VoiceMode mode = VoiceMode::dictation, bool handsFree = false,
                  const char* live = "", const char* status = "", bool pending = false,
                  bool email = false) {
    return {stage,   mode, handsFree, QString::fromUtf8(live), QString::fromUtf8(status),
            pending, email};
}

} // namespace

TEST(PillPresentation, FollowsTheStage) {
    const auto agent = VoiceMode::agent;
    const struct {
        const char* name;
        PillInputs in;
        PillContent content;
        std::optional<int> width, height;
        int radius, padLeft, padRight, padTop;
        double shadow;
        std::optional<QString> bubble;
        bool agentDrop, pulses, lockDrop;
        const char* text;
    } cases[] = {
        {"idle draws nothing",
         inputs(Stage::idle, agent, true, "olá"),
         PillContent::none,
         {},
         46,
         23,
         8,
         14,
         0,
         0,
         {},
         false,
         false,
         false,
         ""},
        {"listening to blanks has no bubble",
         inputs(Stage::listening, VoiceMode::dictation, false, " \n "),
         PillContent::listening,
         {},
         46,
         23,
         8,
         14,
         0,
         0.22,
         {},
         false,
         false,
         false,
         ""},
        {"listening in agent mode, hands free",
         inputs(Stage::listening, agent, true, "  abre o mapa\n"),
         PillContent::listening,
         {},
         46,
         23,
         8,
         14,
         0,
         0.22,
         QStringLiteral("abre o mapa"),
         true,
         false,
         true,
         ""},
        {"processing pulses and drops the lock",
         inputs(Stage::processing, agent, true, "abre o mapa"),
         PillContent::processing,
         {},
         46,
         23,
         8,
         14,
         0,
         0,
         QStringLiteral("abre o mapa"),
         true,
         true,
         false,
         "Processando…"},
        {"processing shows its status",
         inputs(Stage::processing, VoiceMode::dictation, false, "", "Limpando"),
         PillContent::processing,
         {},
         46,
         23,
         8,
         14,
         0,
         0,
         {},
         false,
         false,
         false,
         "Limpando"},
        {"success hides bubble and drops",
         inputs(Stage::success, agent, true, "abre", "Colado no Editor"),
         PillContent::success,
         {},
         46,
         23,
         8,
         14,
         0,
         0,
         {},
         false,
         false,
         false,
         "Colado no Editor"},
        {"error with no status",
         inputs(Stage::error),
         PillContent::error,
         {},
         46,
         23,
         8,
         14,
         0,
         0,
         {},
         false,
         false,
         false,
         ""},
        {"confirming",
         inputs(Stage::confirming, agent, false, "x", "", true),
         PillContent::confirm,
         420,
         {},
         26,
         16,
         16,
         16,
         0.22,
         {},
         false,
         false,
         false,
         ""},
        {"confirming an e-mail is wide",
         inputs(Stage::confirming, agent, false, "", "", true, true),
         PillContent::confirm,
         580,
         {},
         26,
         16,
         16,
         16,
         0.22,
         {},
         false,
         false,
         false,
         ""},
        {"confirming with nothing pending is an empty card",
         inputs(Stage::confirming, agent),
         PillContent::none,
         420,
         {},
         26,
         16,
         16,
         16,
         0.22,
         {},
         false,
         false,
         false,
         ""},
        {"the answer is never wide",
         inputs(Stage::answer, agent, false, "", "", true, true),
         PillContent::answer,
         420,
         {},
         26,
         16,
         16,
         16,
         0.22,
         {},
         false,
         false,
         false,
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PillPresentation p = PillPresentation::of(c.in);
        EXPECT_EQ(p.showsGroup, c.in.stage != Stage::idle);
        EXPECT_EQ(p.content, c.content);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.radius, c.radius);
        EXPECT_EQ(p.padding, QMargins(c.padLeft, c.padTop, c.padRight, c.padTop));
        EXPECT_DOUBLE_EQ(p.shadowOpacity, c.shadow);
        EXPECT_EQ(p.bubbleText, c.bubble);
        EXPECT_EQ(p.bubbleSecondary, c.in.stage == Stage::processing);
        EXPECT_EQ(p.showsAgentDrop, c.agentDrop);
        EXPECT_EQ(p.agentDropPulses, c.pulses);
        EXPECT_EQ(p.showsLockDrop, c.lockDrop);
        EXPECT_EQ(p.text, QString::fromUtf8(c.text));
    }
}

TEST(PillPresentation, BubbleKeepsTheNewestCharactersAndTimerCountsUp) {
    const QString long500 = QString(380, u'a') + QString(120, u'b');
    EXPECT_EQ(PillPresentation::bubbleTail(long500), QString(120, u'b'));
    // A family emoji is one character, however many code points it takes.
    const QString family = QStringLiteral("👨‍👩‍👧");
    EXPECT_EQ(PillPresentation::bubbleTail(family + QString(119, u'c')),
              family + QString(119, u'c'));
    EXPECT_EQ(PillPresentation::bubbleTail(QStringLiteral("curto")), QStringLiteral("curto"));

    const struct {
        std::chrono::milliseconds elapsed;
        const char* text;
    } timers[] = {{-5s, "0:00"},    {0ms, "0:00"},      {7900ms, "0:07"},    {754s, "12:34"},
                  {3599s, "59:59"}, {3723s, "1:02:03"}, {36000s, "10:00:00"}};
    for (const auto& t : timers)
        EXPECT_EQ(PillPresentation::timerText(t.elapsed), QString::fromUtf8(t.text))
            << t.elapsed.count();
}

TEST(PillPlacement, PanelGoesToTheBottomCentreOfTheScreenUnderThePointer) {
    const ScreenArea left{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
    const ScreenArea right{{1920, 0, 1280, 1024}, {1920, 30, 1280, 970}};
    const ScreenArea mirror{{0, 0, 1920, 1080}, {0, 0, 1920, 1000}};
    const struct {
        const char* name;
        QPoint pointer;
        QList<ScreenArea> screens;
        std::optional<ScreenArea> fallback;
        std::optional<QRect> frame;
    } cases[] = {
        {"one screen", {100, 100}, {left}, left, QRect(640, 572, 640, 460)},
        {"secondary screen", {2000, 10}, {left, right}, left, QRect(2240, 532, 640, 460)},
        {"on the shared edge", {1920, 500}, {left, right}, left, QRect(2240, 532, 640, 460)},
        {"last pixel of the first", {1919, 500}, {left, right}, left, QRect(640, 572, 640, 460)},
        {"overlapping screens: first in the list",
         {10, 10},
         {mirror, left},
         left,
         QRect(640, 532, 640, 460)},
        {"outside every screen: the primary",
         {-50, -50},
         {left, right},
         right,
         QRect(2240, 532, 640, 460)},
        {"no screen at all", {0, 0}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PillPlacement::panelFrame(c.pointer, c.screens, c.fallback), c.frame);
    }
}

TEST(PillPlacement, GroupSitsCentredAboveTheBottomPadding) {
    const QSize panel = PillPlacement::kPanelSize;
    using G = PillPlacement::Group;
    const struct {
        const char* name;
        QSize pill;
        std::optional<QSize> bubble;
        bool agent, lock;
        G group;
    } cases[] = {
        {"pill alone", {282, 46}, {}, false, false, G{{}, {}, {179, 400, 282, 46}, {}}},
        {"both drops and a bubble",
         {282, 46},
         QSize(200, 40),
         true,
         true,
         G{{220, 350, 200, 40}, {133, 403, 40, 40}, {181, 400, 282, 46}, {471, 405, 36, 36}}},
        {"a card taller than the drops",
         {420, 180},
         {},
         false,
         false,
         G{{}, {}, {110, 266, 420, 180}, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PillPlacement::group(panel, c.pill, c.bubble, c.agent, c.lock), c.group);
    }
}

TEST(PillStagePolicy, KeyboardOnlyWhileConfirmingClicksWhileACardShows) {
    const struct {
        Stage stage;
        PillStagePolicy policy;
    } cases[] = {
        {Stage::idle, {false, false, false, false}},
        {Stage::listening, {false, false, false, true}},
        {Stage::processing, {false, false, false, true}},
        {Stage::success, {false, false, false, true}},
        {Stage::error, {false, false, false, true}},
        {Stage::confirming, {true, true, true, true}},
        {Stage::answer, {true, false, false, true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PillStagePolicy::of(c.stage), c.policy) << int(c.stage);
}

TEST(ConfirmCardModel, DropsEmptyDetailsAndStaggersTheRest) {
    using L = ConfirmDetailLine;
    EXPECT_EQ(ConfirmCardModel::detailLines({"", "Para: Ana", ""}),
              (QList<L>{{"Para: Ana", true, 4, 60}}));
    EXPECT_EQ(ConfirmCardModel::detailLines({"a", "  ", "c", "d", "e"}),
              (QList<L>{{"a", true, 4, 60},
                        {"  ", false, 2, 120},
                        {"c", false, 2, 180},
                        {"d", false, 2, 240},
                        {"e", false, 2, 300}}));
    EXPECT_TRUE(ConfirmCardModel::detailLines({}).isEmpty());
}

TEST(ConfirmCardModel, KeysWaitOutTheFirstMoments) {
    const struct {
        int shown, now;
        bool accepts;
    } cases[] = {{1000, 1000, false}, {1000, 1399, false}, {1000, 1400, true}, {0, 60000, true}};
    for (const auto& c : cases)
        EXPECT_EQ(ConfirmCardModel::acceptsKeys(Clock::Duration(c.shown), Clock::Duration(c.now)),
                  c.accepts)
            << c.shown << " " << c.now;
}

TEST(AnswerCardModel, ScrollsFromFourHundredTwentyCharactersAndNamesTheHotkey) {
    EXPECT_FALSE(AnswerCardModel::scrolls(QString(419, u'a')));
    EXPECT_TRUE(AnswerCardModel::scrolls(QString(420, u'a')));
    // Characters as a reader counts them: a flag is one.
    EXPECT_FALSE(AnswerCardModel::scrolls(QString(418, u'a') + QStringLiteral("🇧🇷")));
    EXPECT_FALSE(AnswerCardModel::scrolls({}));

    EXPECT_EQ(AnswerCardModel::hint(HotkeyChoice::fn),
              QStringLiteral("segure fn para responder · esc fecha"));
    for (HotkeyChoice other : {HotkeyChoice::rightOption, HotkeyChoice::rightCommand})
        EXPECT_EQ(AnswerCardModel::hint(other),
                  QStringLiteral("segure a tecla para responder · esc fecha"));
    EXPECT_EQ(AnswerCardModel::copyTitle(false), QStringLiteral("Copiar"));
    EXPECT_EQ(AnswerCardModel::copyTitle(true), QStringLiteral("Copiado"));
    EXPECT_EQ(AnswerCardModel::copySymbol(false), QStringLiteral("doc.on.doc"));
    EXPECT_EQ(AnswerCardModel::copySymbol(true), QStringLiteral("checkmark"));
}
