#include "speech/AgentTurn.h"

#include "core/AppState.h"
#include "support/fakes/ManualClock.h"

#include <gtest/gtest.h>

using namespace nolvea;

// A question of the agent awaits its reply for 90 s from the last time it was asked.
TEST(AgentTurn, TheReplyWindowRunsFromTheLastQuestion) {
    ManualClock clock;
    AppState state;
    QStringList log;
    AgentTurn turn(state, clock, {{}, {}, [&](const QString& line) { log << line; }, {}});
    turn.setAwaitingReply(true);
    clock.advance(Clock::Duration(60'000));
    turn.setAwaitingReply(true); // asked again
    clock.advance(Clock::Duration(89'999));
    EXPECT_TRUE(state.awaitingReply());
    clock.advance(Clock::Duration(1));
    EXPECT_FALSE(state.awaitingReply());

    turn.setAwaitingReply(true);
    turn.newConversation();
    EXPECT_FALSE(state.awaitingReply());
    EXPECT_EQ(clock.pendingTimers(), 0);
    EXPECT_EQ(log, QStringList{QStringLiteral("○ nova conversa")});
}
