#include "updates/SystemVersion.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

QString osRelease(const QByteArray& text) {
    static int n = 0;
    const QString path = test::home() + QStringLiteral("/os-release-%1").arg(++n);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

TEST(SystemVersion, MinimumTakesMajorAndMinorOfTheNumericPieces) {
    const struct {
        const char* text;
        qint64 major, minor;
    } cases[] = {
        {"26.1.5", 26, 1}, {"26", 26, 0},     {"beta", 0, 0},  {"", 0, 0},
        {"12..3", 12, 3},  {"x.12.4", 12, 4}, {".13.", 13, 0}, {"+12.-1", 12, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemVersion::minimum(QString::fromLatin1(c.text)), std::pair(c.major, c.minor))
            << c.text;
}

TEST(SystemVersion, ReadsDebiansMajorFromOsRelease) {
    EXPECT_EQ(SystemVersion::debianMajor(osRelease("PRETTY_NAME=\"Debian GNU/Linux 12\"\n"
                                                   "ID=debian\nVERSION_ID=\"12\"\n")),
              12);
    EXPECT_EQ(SystemVersion::debianMajor(osRelease("ID='debian'\nVERSION_ID=13\n")), 13);
    // Testing and unstable state no version; derivatives count their own.
    EXPECT_EQ(SystemVersion::debianMajor(osRelease("ID=debian\n")), std::nullopt);
    EXPECT_EQ(
        SystemVersion::debianMajor(osRelease("ID=ubuntu\nID_LIKE=debian\nVERSION_ID=\"24.04\"\n")),
        std::nullopt);
    EXPECT_EQ(SystemVersion::debianMajor(test::home() + "/no-such-file"), std::nullopt);
}

TEST(SystemVersion, SupportsComparesWithTheDebianMajor) {
    const QString debian12 = osRelease("ID=debian\nVERSION_ID=\"12\"\n");
    const struct {
        std::optional<QString> minimum;
        bool supported;
    } cases[] = {
        {std::nullopt, true},           {QStringLiteral("11"), true},
        {QStringLiteral("12"), true},   {QStringLiteral("12.0.7"), true},
        {QStringLiteral("11.9"), true}, {QStringLiteral("12.1"), false},
        {QStringLiteral("13"), false},  {QStringLiteral("sid"), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemVersion::supports(c.minimum, debian12), c.supported)
            << c.minimum.value_or("<none>").toStdString();
    // An unknown system runs anything.
    EXPECT_TRUE(SystemVersion::supports(QStringLiteral("99"), osRelease("ID=arch\n")));
    EXPECT_TRUE(SystemVersion::supports(QStringLiteral("99"), test::home() + "/missing"));
}

} // namespace
