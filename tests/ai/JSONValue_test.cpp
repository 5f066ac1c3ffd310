#include "ai/JSONValue.h"

#include <gtest/gtest.h>

using nolvea::JSONValue;

TEST(JSONValue, ParsesScalars) {
    EXPECT_EQ(JSONValue::parse(QStringLiteral("1")), JSONValue::number(1));
}
