#include "updates/UpdateRelease.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

const QByteArray kFull = R"({"version":"2.0","build":12,"url":"https://x.example/N.zip",
  "sha256":"AB","signature":"cd","notes":"Novidades","minimumSystemVersion":"12.1",
  "extra":[1,2]})";

TEST(UpdateRelease, ReadsEveryMemberAndIgnoresOthers) {
    const auto r = UpdateRelease::decode(kFull);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->version, "2.0");
    EXPECT_EQ(r->build, 12);
    EXPECT_EQ(r->url, QUrl("https://x.example/N.zip"));
    EXPECT_EQ(r->sha256, "AB");
    EXPECT_EQ(r->signature, "cd");
    EXPECT_EQ(r->notes, "Novidades");
    EXPECT_EQ(r->minimumSystemVersion, "12.1");
}

TEST(UpdateRelease, OptionalMembersMayBeAbsentOrNull) {
    const auto r = UpdateRelease::decode(
        R"({"version":"2.0","build":3,"url":"https://x.example/a.zip","sha256":"a",
            "signature":"b","notes":null})");
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->notes);
    EXPECT_FALSE(r->minimumSystemVersion);
}

TEST(UpdateRelease, AMissingOrMistypedMemberSpoilsTheWholeManifest) {
    const char* cases[] = {
        R"({"build":3,"url":"https://x/a.zip","sha256":"a","signature":"b"})",
        R"({"version":"1","url":"https://x/a.zip","sha256":"a","signature":"b"})",
        R"({"version":"1","build":3,"sha256":"a","signature":"b"})",
        R"({"version":"1","build":3,"url":"https://x/a.zip","signature":"b"})",
        R"({"version":"1","build":3,"url":"https://x/a.zip","sha256":"a"})",
        R"({"version":1,"build":3,"url":"https://x/a.zip","sha256":"a","signature":"b"})",
        R"({"version":"1","build":"3","url":"https://x/a.zip","sha256":"a","signature":"b"})",
        R"({"version":"1","build":3.5,"url":"https://x/a.zip","sha256":"a","signature":"b"})",
        R"({"version":"1","build":3,"url":"","sha256":"a","signature":"b"})",
        R"({"version":"1","build":3,"url":"https://x/a.zip","sha256":"a","signature":"b","notes":5})",
        R"({"version":"1","build":3,"url":"https://x/a.zip","sha256":"a","signature":"b",
            "minimumSystemVersion":12})",
        R"(["version"])",
        "<html>404</html>",
        "",
    };
    for (const char* json : cases)
        EXPECT_FALSE(UpdateRelease::decode(json)) << json;
}

} // namespace
