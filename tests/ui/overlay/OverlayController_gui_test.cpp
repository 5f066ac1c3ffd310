// When the pill's panel shows, hides and takes input, stage by stage, on an injected clock.
#include "core/AppSettings.h"
#include "speech/VoiceController.h"
#include "support/RecordedSpeech.h"
#include "support/VoiceRig.h"
#include "ui/overlay/OverlayController.h"
#include "ui/overlay/OverlayPanel.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;

namespace {

class PillController : public ::testing::Test {
protected:
    void SetUp() override { AppSettings::shared().setOverlayStyle(OverlayStyle::pill); }

    // Lets the queued evaluation of the stage run.
    static void settle() { QCoreApplication::processEvents(); }
    void go(Stage stage) {
        state.setStage(stage);
        settle();
    }
    void advance(int ms) {
        rig.advance(ms);
        settle();
    }

    test::VoiceRig rig{test::RecordedSpeech::goForwardPath()};
    AppState& state = rig.state();
    OverlayController overlay{state, [this]() -> VoiceController& { return rig.controller(); }};
    OverlayPanel& panel = overlay.panel();
};

} // namespace

TEST_F(PillController, FirstShownAtTheFirstStageChangeAndInputFollowsTheStage) {
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.size(), QSize(640, 460));
    const struct {
        Stage stage;
        bool clicks, allowsKey;
    } steps[] = {{Stage::listening, false, false}, {Stage::processing, false, false},
                 {Stage::confirming, true, true},  {Stage::answer, true, false},
                 {Stage::success, false, false},   {Stage::error, false, false},
                 {Stage::idle, false, false}};
    for (const auto& s : steps) {
        SCOPED_TRACE(int(s.stage));
        go(s.stage);
        EXPECT_TRUE(panel.isVisible());
        EXPECT_EQ(panel.ignoresMouseEvents(), !s.clicks);
        EXPECT_EQ(panel.allowsKey(), s.allowsKey);
    }
}

TEST_F(PillController, HidesOnlyAfterAFullPauseAtIdle) {
    go(Stage::success);
    go(Stage::idle);
    advance(500);
    // Another result within the pause cancels the hide; the next idle waits in full again.
    go(Stage::success);
    go(Stage::idle);
    advance(500);
    EXPECT_TRUE(panel.isVisible());
    advance(99);
    EXPECT_TRUE(panel.isVisible());
    advance(1);
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(PillController, ChangesWithinOneTurnAreEvaluatedOnceForTheLastStage) {
    state.setStage(Stage::listening);
    state.setStage(Stage::idle);
    settle();
    advance(1000);
    EXPECT_FALSE(panel.isVisible()) << "a stage that was over before the pill looked showed it";
}

TEST_F(PillController, FollowsTheStyleFromTheNextStageChange) {
    AppSettings::shared().setOverlayStyle(OverlayStyle::notch);
    go(Stage::listening);
    EXPECT_FALSE(panel.isVisible());
    AppSettings::shared().setOverlayStyle(OverlayStyle::pill);
    EXPECT_FALSE(panel.isVisible());
    go(Stage::processing);
    EXPECT_TRUE(panel.isVisible());
    AppSettings::shared().setOverlayStyle(OverlayStyle::notch);
    EXPECT_TRUE(panel.isVisible());
    go(Stage::success);
    EXPECT_FALSE(panel.isVisible());

    // Until there is another overlay, the application shows the pill whatever the style.
    overlay.setShowsPill([] { return true; });
    go(Stage::error);
    EXPECT_TRUE(panel.isVisible());
}
