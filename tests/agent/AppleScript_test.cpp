#include "agent/AppleScript.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(AppleScript, FailsClearlyInsteadOfPretending) {
    const auto error = AppleScript::run("tell application \"Messages\" to send \"oi\"");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ToolError::Kind::failed);
    EXPECT_EQ(error->message(), "Este computador não executa AppleScript: a ação não foi feita.");
}

} // namespace
