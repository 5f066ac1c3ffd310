#include "speech/GestureReader.h"
#include "support/fakes/ManualClock.h"

#include <gtest/gtest.h>

#include <vector>

using namespace nolvea;
using Action = GestureReader::Action;
using Stage = AppState::Stage;

namespace {

// A reader on a clock moved by hand, with the lone-tap expiries it reported.
struct Keys {
    ManualClock clock;
    GestureReader reader{clock};
    int tapsExpired = 0;
    Keys() {
        reader.onTapExpired = [this] { ++tapsExpired; };
    }
    void advance(int ms) { clock.advance(Clock::Duration(ms)); }
};

GestureReader::Situation at(Stage stage, bool handsFree = false) {
    GestureReader::Situation s;
    s.stage = stage;
    s.handsFree = handsFree;
    s.agentEnabled = true;
    return s;
}

} // namespace

TEST(GestureReader, APressStartsWhatTheStageAndControlAsk) {
    struct Case {
        Stage stage;
        bool handsFree, control, awaitingReply, agentEnabled;
        Action action;
    } cases[] = {
        {Stage::idle, false, false, false, true, Action::listenForDictation},
        {Stage::success, false, true, false, true, Action::listenForAgent},
        {Stage::error, false, false, true, true, Action::listenForAgent}, // a reply is awaited
        {Stage::idle, false, true, false, false, Action::listenForDictation},
        {Stage::answer, false, false, false, true, Action::listenForAgent},
        {Stage::answer, false, false, false, false, Action::listenForDictation},
        {Stage::processing, false, true, false, true, Action::none},
        {Stage::confirming, false, false, false, true, Action::none},
        {Stage::listening, false, false, false, true, Action::none},
        {Stage::listening, true, false, false, true, Action::stopAndProcess},
    };
    for (const auto& k : cases) {
        Keys keys;
        auto now = at(k.stage, k.handsFree);
        now.awaitingReply = k.awaitingReply;
        now.agentEnabled = k.agentEnabled;
        keys.reader.control(k.control, now);
        EXPECT_EQ(keys.reader.down(now), k.action) << int(k.stage) << k.control;
    }
}

// A release 0.3 s or more after the press processes; sooner, it is a tap that ends silently
// 0.35 s later unless a second press comes.
TEST(GestureReader, ReleaseByHowLongTheKeyWasHeld) {
    struct Case {
        int heldMs;
        Action action;
        bool tap;
    } cases[] = {{290, Action::none, true},
                 {299, Action::none, true},
                 {300, Action::stopAndProcess, false},
                 {2000, Action::stopAndProcess, false}};
    for (const auto& k : cases) {
        Keys keys;
        keys.reader.listeningBegan(false);
        keys.advance(k.heldMs);
        EXPECT_EQ(keys.reader.up(at(Stage::listening)), k.action) << k.heldMs;
        keys.advance(349);
        EXPECT_EQ(keys.tapsExpired, 0);
        keys.advance(1);
        EXPECT_EQ(keys.tapsExpired, k.tap ? 1 : 0) << k.heldMs;
    }
}

TEST(GestureReader, ADoubleTapGoesHandsFreeAndTheNextPressStops) {
    Keys keys;
    EXPECT_EQ(keys.reader.down(at(Stage::idle)), Action::listenForDictation);
    keys.reader.listeningBegan(false);
    keys.advance(100);
    EXPECT_EQ(keys.reader.up(at(Stage::listening)), Action::none);
    keys.advance(200);
    EXPECT_EQ(keys.reader.down(at(Stage::listening)), Action::goHandsFree);
    EXPECT_FALSE(keys.reader.isTapPending());
    EXPECT_EQ(keys.reader.up(at(Stage::listening, true)), Action::none); // swallowed
    keys.advance(5000);
    EXPECT_EQ(keys.tapsExpired, 0);
    EXPECT_EQ(keys.reader.down(at(Stage::listening, true)), Action::stopAndProcess);
    EXPECT_EQ(keys.reader.up(at(Stage::processing)), Action::none); // swallowed too
}

// A listening ended otherwise leaves no tap to expire; a follow-up has no release to swallow.
TEST(GestureReader, EndedListeningAndFollowUpsForgetTheLastPress) {
    Keys keys;
    keys.reader.listeningBegan(false);
    keys.reader.up(at(Stage::listening));
    keys.reader.listeningEnded();
    keys.advance(1000);
    EXPECT_EQ(keys.tapsExpired, 0);

    keys.reader.down(at(Stage::listening, true)); // would swallow the next release
    keys.reader.listeningBegan(true);
    keys.advance(400);
    EXPECT_EQ(keys.reader.up(at(Stage::listening)), Action::stopAndProcess);
}

TEST(GestureReader, AnotherKeyCancelsOnlySoonAfterAHeldPress) {
    struct Case {
        int afterMs;
        bool handsFree;
        Action action;
    } cases[] = {{500, false, Action::cancelSilently},
                 {999, false, Action::cancelSilently},
                 {1000, false, Action::none},
                 {1500, false, Action::none},
                 {500, true, Action::none}};
    for (const auto& k : cases) {
        Keys keys;
        EXPECT_EQ(keys.reader.otherKey(at(Stage::listening)), Action::none); // no press yet
        keys.reader.listeningBegan(false);
        keys.advance(k.afterMs);
        EXPECT_EQ(keys.reader.otherKey(at(Stage::listening, k.handsFree)), k.action) << k.afterMs;
        EXPECT_EQ(keys.reader.otherKey(at(Stage::processing)), Action::none);
    }
}

TEST(GestureReader, EscapeStopsSpeechFirstThenActsByStage) {
    struct Case {
        Stage stage;
        bool speaking;
        Action action;
    } cases[] = {
        {Stage::answer, true, Action::stopSpeech},
        {Stage::idle, true, Action::stopSpeech},
        {Stage::listening, false, Action::cancelWithFeedback},
        {Stage::processing, false, Action::cancelProcessing},
        {Stage::confirming, false, Action::declineConfirmation},
        {Stage::answer, false, Action::dismissAnswer},
        {Stage::idle, false, Action::none},
        {Stage::success, false, Action::none},
        {Stage::error, false, Action::none},
    };
    Keys keys;
    for (const auto& k : cases) {
        auto now = at(k.stage);
        now.speaking = k.speaking;
        EXPECT_EQ(keys.reader.escape(now), k.action) << int(k.stage) << k.speaking;
    }
}

// An Escape typed into another window just as a card goes up must not cancel the action.
TEST(GestureReader, EscapeLeavesAFreshConfirmationCardAlone) {
    struct Case {
        int cardAgeMs;
        Action action;
    } cases[] = {
        {0, Action::none},
        {399, Action::none},
        {400, Action::declineConfirmation},
        {2000, Action::declineConfirmation},
    };
    for (const auto& k : cases) {
        Keys keys;
        keys.advance(5000);
        auto now = at(Stage::confirming);
        now.cardShownAt = keys.clock.uptime();
        keys.advance(k.cardAgeMs);
        EXPECT_EQ(keys.reader.escape(now), k.action) << k.cardAgeMs;
    }
}

// Control switches a dictation listening to the agent once; its release changes nothing.
TEST(GestureReader, ControlSwitchesToTheAgentOnlyOnAPressWhileListening) {
    struct Case {
        bool down;
        Stage stage;
        VoiceMode mode;
        bool agentEnabled;
        Action action;
    } cases[] = {
        {true, Stage::listening, VoiceMode::dictation, true, Action::switchToAgent},
        {true, Stage::listening, VoiceMode::agent, true, Action::none},
        {true, Stage::listening, VoiceMode::dictation, false, Action::none},
        {false, Stage::listening, VoiceMode::dictation, true, Action::none},
        {true, Stage::processing, VoiceMode::dictation, true, Action::none},
    };
    for (const auto& k : cases) {
        Keys keys;
        auto now = at(k.stage);
        now.mode = k.mode;
        now.agentEnabled = k.agentEnabled;
        EXPECT_EQ(keys.reader.control(k.down, now), k.action);
        EXPECT_EQ(keys.reader.isControlDown(), k.down);
    }
}
