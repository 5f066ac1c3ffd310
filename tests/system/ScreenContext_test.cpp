#include "system/ScreenContext.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

struct KindCase {
    const char* bundleID;
    const char* kind;
};

class AppKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(AppKindTest, FirstMatchingFragmentDecides) {
    ScreenContext context;
    context.bundleID = QString::fromUtf8(GetParam().bundleID);
    EXPECT_EQ(context.appKind(), QString::fromUtf8(GetParam().kind)) << GetParam().bundleID;
}

const char* const chat = "chat (tom conversacional)";
const char* const code = "ferramenta de programação (preserve termos técnicos em inglês)";
const char* const notes = "documento/notas";

INSTANTIATE_TEST_SUITE_P(
    Table, AppKindTest,
    ::testing::Values(KindCase{"com.apple.MobileSMS", chat}, KindCase{"com.slack.mail", chat},
                      KindCase{"org.telegram.desktop", chat}, KindCase{"com.apple.mail", "e-mail"},
                      KindCase{"com.microsoft.Outlook", "e-mail"},
                      KindCase{"org.gnome.Terminal", code}, KindCase{"dev.zed.Zed", code},
                      KindCase{"com.amazing.lazedit", code}, KindCase{"com.apple.Notes", notes},
                      KindCase{"org.swordfish.app", notes}, KindCase{"md.obsidian", notes},
                      KindCase{"org.mozilla.firefox", ""}, KindCase{"", ""}));

TEST(ScreenContextTest, EmptyContextHasNoFieldsSet) {
    EXPECT_TRUE(ScreenContext::empty().isEmpty());
    ScreenContext withPid;
    withPid.processID = 42;
    EXPECT_FALSE(withPid.isEmpty());
}

TEST(ScreenContextTest, TextBeforeTheCaretIsClampedAndCapped) {
    const QString thousand = QString(700, 'a') + QString(300, 'b');
    EXPECT_EQ(ScreenContext::textBefore(thousand, 1000), QString(300, 'b'));
    EXPECT_EQ(ScreenContext::textBefore(thousand, 5000), QString(300, 'b'));
    EXPECT_EQ(ScreenContext::textBefore("olá mundo", 0), "");
    EXPECT_EQ(ScreenContext::textBefore("olá mundo", -3), "");
    EXPECT_EQ(ScreenContext::textBefore("olá mundo", 3), "olá");
    // Code units, not characters: an emoji is two of them.
    const QString emoji = QString(299, 'x') + QString::fromUtf8("😀");
    EXPECT_EQ(ScreenContext::textBefore(emoji, emoji.size()).size(), 300);
}

} // namespace
