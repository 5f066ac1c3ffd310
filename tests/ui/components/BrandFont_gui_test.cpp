#include "support/TestEnvironment.h"
#include "ui/components/BrandFont.h"
#include "ui/components/Wordmark.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

const QString kFonts = QStringLiteral(
    NOLVEA_SOURCE_DIR "/third_party/node/node_modules/@expo-google-fonts/inter-tight");

QString folderWith(const QString& name, const QList<QPair<QString, QString>>& files) {
    const QString dir = test::home() + "/fonts-" + name;
    QDir().mkpath(dir);
    for (const auto& [from, to] : files)
        QFile::copy(kFonts + "/" + from, dir + "/" + to);
    return dir;
}

// Registration is for the whole process, so the steps run in order here, from and back to a
// process without the faces.
TEST(BrandFont, FallsBackThenRegistersFromTheFirstFolderWithTheSemiboldFace) {
    if (!QFile::exists(kFonts + "/600SemiBold/InterTight_600SemiBold.ttf"))
        GTEST_SKIP() << "the font package is not installed (scripts/setup)";
    BrandFont::forget();
    const struct Forget {
        ~Forget() { BrandFont::forget(); }
    } forget;

    ASSERT_FALSE(BrandFont::isAvailable());
    const QFont fallback = BrandFont::font(BrandFont::Face::semiBold, 14.5, QFont::DemiBold);
    EXPECT_NE(fallback.family(), BrandFont::kFamily);
    EXPECT_EQ(fallback.weight(), QFont::DemiBold);

    const QString missing = test::home() + "/no-such-folder";
    const QString noFonts = folderWith("none", {});
    QFile readme(noFonts + "/LEIA.txt");
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    const QString onlyRegular =
        folderWith("regular", {{"400Regular/InterTight_400Regular.ttf", "Regular.ttf"}});
    // Capital extensions count too.
    const QString semibold = folderWith(
        "semibold", {{"600SemiBold/InterTight_600SemiBold.ttf", "InterTight-SemiBold.TTF"},
                     {"800ExtraBold/InterTight_800ExtraBold.ttf", "InterTight-ExtraBold.OTF"}});

    BrandFont::registerFrom({missing, noFonts, onlyRegular});
    EXPECT_FALSE(BrandFont::isAvailable()) << "other faces alone do not make it available";

    BrandFont::registerFrom({missing, noFonts, onlyRegular, semibold});
    EXPECT_TRUE(BrandFont::isAvailable());

    const QFont semi = BrandFont::font(BrandFont::Face::semiBold, 14.5, QFont::DemiBold);
    EXPECT_EQ(QFontInfo(semi).family(), BrandFont::kFamily);
    EXPECT_EQ(QFontInfo(semi).styleName(), "SemiBold");
    const QFont extra = BrandFont::font(BrandFont::Face::extraBold, 30, QFont::Black);
    EXPECT_EQ(QFontInfo(extra).styleName(), "ExtraBold");

    // Once available, a later call looks at no folder (a broken one would not matter).
    BrandFont::registerFrom({"/proc/self/fd/does-not-exist"});
    EXPECT_TRUE(BrandFont::isAvailable());

    // Forgotten, the faces are gone from the process too.
    BrandFont::forget();
    EXPECT_FALSE(BrandFont::isAvailable());
    EXPECT_FALSE(QFontDatabase::families().contains(BrandFont::kFamily));
}

// A font file in whatever folder the program is started from must not be taken in.
TEST(BrandFont, LooksOnlyBesideTheProgramAndInTheInstallPrefix) {
    const QString cwd = test::home() + "/elsewhere";
    QDir().mkpath(cwd + "/share/nolvea/fonts");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd));
    const QStringList folders = BrandFont::folders();
    QDir::setCurrent(before);
    ASSERT_FALSE(folders.isEmpty());
    EXPECT_EQ(folders.first(),
              QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/nolvea/fonts"));
    for (const QString& folder : folders) {
        EXPECT_FALSE(folder.startsWith(cwd)) << folder.toStdString();
        EXPECT_TRUE(QDir::isAbsolutePath(folder)) << folder.toStdString();
        EXPECT_TRUE(folder.endsWith("/share/nolvea/fonts")) << folder.toStdString();
    }
}

TEST(Wordmark, TextFontAndTracking) {
    EXPECT_EQ(Wordmark::text(), "Nolvea");
    EXPECT_DOUBLE_EQ(Wordmark::tracking(40), -0.6);
    const QFont f = Wordmark::fontFor(40);
    EXPECT_EQ(f.letterSpacingType(), QFont::AbsoluteSpacing);
    EXPECT_NEAR(f.letterSpacing(), -0.6, 1.0 / 64); // Qt keeps 26.6 fixed point
    Wordmark mark(40, Qt::black);
    EXPECT_EQ(mark.accessibleName(), "Nolvea");
    EXPECT_GT(mark.sizeHint().width(), 40);
}

} // namespace
