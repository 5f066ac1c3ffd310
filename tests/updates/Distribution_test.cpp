#include "updates/Distribution.h"
#include "updates/Updater.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(Distribution, SiteAddressRules) {
    const struct {
        std::optional<QString> raw;
        std::optional<QString> expected;
    } cases[] = {
        {QStringLiteral("https://nolvea.example/"), QStringLiteral("https://nolvea.example/")},
        {QStringLiteral("http://127.0.0.1:8080/base"),
         QStringLiteral("http://127.0.0.1:8080/base")},
        {QStringLiteral("$(VEMKA_SITE_URL)"), std::nullopt}, // never expanded
        {QStringLiteral("https://x.example/$(PATH)"), std::nullopt},
        {QStringLiteral(""), std::nullopt},
        {std::nullopt, std::nullopt},
        {QStringLiteral("http://exa mple.com"), std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = Distribution::urlFrom(c.raw);
        EXPECT_EQ(got.has_value(), c.expected.has_value())
            << c.raw.value_or("<none>").toStdString();
        if (got && c.expected) {
            EXPECT_EQ(got->toString(), *c.expected);
        }
    }
}

TEST(Distribution, BuildIsADecimalIntegerOrZero) {
    const struct {
        std::optional<QString> raw;
        qint64 expected;
    } cases[] = {
        {QStringLiteral("42"), 42},
        {QStringLiteral("+7"), 7},
        {QStringLiteral("-3"), -3},
        {QStringLiteral("007"), 7},
        {QStringLiteral("1.2"), 0},
        {QStringLiteral("12a"), 0},
        {QStringLiteral(" 12"), 0},
        {QStringLiteral(""), 0},
        {QStringLiteral("+"), 0},
        {QStringLiteral("0x10"), 0},
        {QStringLiteral("99999999999999999999"), 0},
        {std::nullopt, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Distribution::buildFrom(c.raw), c.expected)
            << c.raw.value_or("<none>").toStdString();
}

TEST(Distribution, VersionFallsBackToOnePointZero) {
    EXPECT_EQ(Distribution::versionFrom(QStringLiteral("2.3.1")), "2.3.1");
    EXPECT_EQ(Distribution::versionFrom(std::nullopt), "1.0");
}

TEST(Distribution, CompiledValuesFollowTheRules) {
    EXPECT_FALSE(Distribution::version().isEmpty());
    EXPECT_GE(Distribution::build(), 1);
    EXPECT_TRUE(Distribution::url(QStringLiteral("VemkaSiteURL")).has_value());
    EXPECT_FALSE(Distribution::url(QStringLiteral("NoSuchKey")).has_value());
}

TEST(Distribution, ManifestAddressIgnoresATrailingSlash) {
    for (const char* site : {"https://nolvea.example/base", "https://nolvea.example/base/"}) {
        UpdaterSetup setup;
        setup.siteURL = QUrl(QString::fromLatin1(site));
        EXPECT_EQ(Updater(setup).manifestURL()->toString(),
                  "https://nolvea.example/base/downloads/latest.json");
    }
    UpdaterSetup bare;
    bare.siteURL = QUrl(QStringLiteral("https://nolvea.example"));
    EXPECT_EQ(Updater(bare).manifestURL()->toString(),
              "https://nolvea.example/downloads/latest.json");
    EXPECT_FALSE(Updater(UpdaterSetup{}).manifestURL().has_value());
}

} // namespace
