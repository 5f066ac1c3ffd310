#include "agent/Conversation.h"
#include "support/Clock.h"
#include "support/Printers.h"
#include "support/fakes/ManualClock.h"

#include <gtest/gtest.h>

using namespace nolvea;
using namespace std::chrono_literals;

namespace {

ChatMessage message(const char* role, const QString& text) {
    return {.role = QString::fromUtf8(role), .content = MessageContent::text(text)};
}

std::vector<ChatMessage> turn(const QString& tag) {
    return {message("user", tag), message("assistant", tag + QStringLiteral(" ok"))};
}

class ConversationTest : public ::testing::Test {
protected:
    void SetUp() override { Clock::install(&m_clock); }
    void TearDown() override { Clock::install(nullptr); }
    ManualClock m_clock;
};

} // namespace

TEST_F(ConversationTest, HistoryIsFreshForLessThanFiveMinutes) {
    Conversation c;
    EXPECT_TRUE(c.history().empty());
    c.append(turn("a"));
    c.append(turn("b"));
    m_clock.advance(299s);
    const auto history = c.history();
    ASSERT_EQ(history.size(), 4u);
    EXPECT_EQ(history[0].text(), QStringLiteral("a"));
    EXPECT_EQ(history[3].text(), QStringLiteral("b ok"));
    m_clock.advance(1s);
    EXPECT_TRUE(c.history().empty());
    EXPECT_EQ(c.turns.size(), 2u); // kept until the next append
}

TEST_F(ConversationTest, KeepsTheNewestFourTurnsAndStartsOverWhenStale) {
    Conversation c;
    for (const char* tag : {"1", "2", "3", "4", "5"})
        c.append(turn(tag));
    ASSERT_EQ(c.turns.size(), 4u);
    EXPECT_EQ(c.turns.front().front().text(), QStringLiteral("2"));
    EXPECT_EQ(c.turns.back().front().text(), QStringLiteral("5"));
    EXPECT_EQ(c.lastActivity, m_clock.now());

    m_clock.advance(10min);
    c.append(turn("6"));
    ASSERT_EQ(c.turns.size(), 1u);
    EXPECT_EQ(c.history().front().text(), QStringLiteral("6"));

    Conversation reset; // a new conversation: no turns, activity in the distant past
    EXPECT_EQ(reset.lastActivity, Conversation::distantPast());
    reset.append(turn("x"));
    EXPECT_EQ(reset.turns.size(), 1u);
}

TEST_F(ConversationTest, CutsLongToolResultsOnly) {
    const QString marker = QStringLiteral("\n…(resultado cortado)");
    const QString exact(2500, u'x');
    const QString over = exact + u'y';
    // Graphemes, not code units: 2,501 flags of two surrogate pairs each.
    QString flags;
    for (int i = 0; i < 2501; ++i)
        flags += QStringLiteral("🇧🇷");
    ChatMessage partsTool{.role = "tool",
                          .content = MessageContent::parts(
                              {{.type = "text", .text = QString(1500, u'a')},
                               {.type = "image_url", .imageURL = ContentPart::ImageURL{"data:x"}},
                               {.type = "text", .text = QString(1500, u'b')}}),
                          .toolCallID = "c1"};

    Conversation c;
    c.append({message("tool", exact), message("tool", over), message("assistant", over + over),
              message("tool", flags), partsTool});
    const auto& stored = c.turns.back();
    EXPECT_EQ(stored[0].text(), exact);
    EXPECT_EQ(stored[1].text(), exact + marker);
    EXPECT_EQ(stored[2].text(), over + over);
    EXPECT_EQ(stored[3].text(), flags.left(2500 * 4) + marker);

    ASSERT_TRUE(stored[4].content && stored[4].content->isText());
    EXPECT_EQ(stored[4].text(), QString(1500, u'a') + u'\n' + QString(999, u'b') + marker);
    EXPECT_EQ(stored[4].toolCallID, QStringLiteral("c1"));
    EXPECT_EQ(stored[4].role, QStringLiteral("tool"));
}
