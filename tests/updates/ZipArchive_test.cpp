#include "updates/ZipArchive.h"

#include "UpdateFixtures.h"
#include "support/PrivateTempDir.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

class ZipArchiveTest : public ::testing::Test {
protected:
    PrivateTempDir dir{QStringLiteral("zip-test")};
    QString out() const { return dir.filePath("saida"); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(out())); }
};

TEST_F(ZipArchiveTest, UnpacksStoredAndDeflatedEntriesWithTheirModes) {
    for (bool deflate : {false, true}) {
        SCOPED_TRACE(deflate);
        PrivateTempDir target(QStringLiteral("zip-out"));
        QByteArray big(100000, 'x');
        const auto zip = ZipArchive::open(test::releaseZip("nova")
                                              .file("Nolvea.app/share/nolvea/grande", big)
                                              .deflate(deflate)
                                              .bytes());
        ASSERT_TRUE(zip);
        ASSERT_EQ(zip->extractTo(target.path()), std::nullopt);
        EXPECT_EQ(test::readAll(target.filePath("Nolvea.app/share/nolvea/grande")), big);
        EXPECT_EQ(test::readAll(target.filePath("Nolvea.app/share/nolvea/versao.txt")), "nova\n");
        EXPECT_TRUE(QFileInfo(target.filePath("Nolvea.app/bin/nolvea")).isExecutable());
        EXPECT_FALSE(
            QFileInfo(target.filePath("Nolvea.app/share/nolvea/versao.txt")).isExecutable());
        EXPECT_TRUE(zip->matches(target.path(), "Nolvea.app"));
    }
}

// An archive made by the zip program unpacks the same way.
TEST_F(ZipArchiveTest, ReadsWhatTheZipProgramWrites) {
    test::makeAppRoot(dir.filePath("fonte/Nolvea.app"), "nova");
    QProcess zipper;
    zipper.setWorkingDirectory(dir.filePath("fonte"));
    zipper.start("zip", {"-q", "-r", "-X", "../r.zip", "Nolvea.app"});
    ASSERT_TRUE(zipper.waitForFinished(20000));
    ASSERT_EQ(zipper.exitCode(), 0);
    const auto zip = ZipArchive::open(test::readAll(dir.filePath("r.zip")));
    ASSERT_TRUE(zip);
    ASSERT_EQ(zip->extractTo(out()), std::nullopt);
    EXPECT_EQ(test::listTree(out() + "/Nolvea.app"),
              test::listTree(dir.filePath("fonte/Nolvea.app")));
    EXPECT_TRUE(QFileInfo(out() + "/Nolvea.app/bin/nolvea").isExecutable());
    EXPECT_TRUE(zip->matches(out(), "Nolvea.app"));
}

TEST_F(ZipArchiveTest, RefusesUnsafeNamesAndLinks) {
    const struct {
        const char* what;
        test::ZipMaker zip;
    } cases[] = {
        {"parent step", test::releaseZip("x").file("Nolvea.app/../../fora", "mal")},
        {"parent step first", test::ZipMaker().file("../fora", "mal")},
        {"absolute path", test::ZipMaker().file("/tmp/fora", "mal")},
        {"backslash", test::ZipMaker().file("Nolvea.app\\..\\fora", "mal")},
        {"empty part", test::ZipMaker().file("Nolvea.app//fora", "mal")},
        {"dot part", test::ZipMaker().file("Nolvea.app/./fora", "mal")},
        {"control character", test::ZipMaker().file("Nolvea.app/a\nb", "mal")},
        {"link", test::releaseZip("x").link("Nolvea.app/share/nolvea/ligacao", "/etc")},
        {"same name twice", test::ZipMaker().file("a", "1").file("a", "2")},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ZipArchive::open(c.zip.bytes())) << c.what;
    // Nothing was written anywhere near.
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("fora")));
    EXPECT_TRUE(test::listTree(out()).isEmpty());
}

TEST_F(ZipArchiveTest, RefusesBrokenArchivesAndData) {
    const QByteArray good = test::releaseZip("x").bytes();
    EXPECT_FALSE(ZipArchive::open(QByteArray()));
    EXPECT_FALSE(ZipArchive::open("<html>não encontrado</html>"));
    EXPECT_FALSE(ZipArchive::open(good.left(good.size() - 5)));
    // A wrong CRC is found while unpacking, whatever the method.
    for (bool deflate : {false, true}) {
        const auto zip =
            ZipArchive::open(test::releaseZip("x").corruptLast().deflate(deflate).bytes());
        ASSERT_TRUE(zip);
        PrivateTempDir target(QStringLiteral("zip-out"));
        const auto failed = zip->extractTo(target.path());
        ASSERT_TRUE(failed) << deflate;
        EXPECT_EQ(failed->message(), "Não deu para abrir o arquivo da atualização.");
    }
}

TEST_F(ZipArchiveTest, MatchesFindsEveryDifferenceOnDisk) {
    const auto zip = ZipArchive::open(test::releaseZip("nova").bytes());
    ASSERT_TRUE(zip);
    const QString app = out() + "/Nolvea.app";
    const std::function<void()> changes[] = {
        [&] { QFile(app + "/share/nolvea/versao.txt").remove(); },
        [&] {
            QFile f(app + "/share/nolvea/versao.txt");
            f.open(QIODevice::WriteOnly);
            f.write("velh\n"); // same size, other bytes
        },
        [&] {
            QFile f(app + "/bin/intruso");
            f.open(QIODevice::WriteOnly);
        },
        [&] { QDir().mkpath(app + "/lib"); },
        [&] { QFile::link("/etc/passwd", app + "/share/nolvea/ligacao"); },
    };
    for (const auto& change : changes) {
        QDir(out()).removeRecursively();
        QDir().mkpath(out());
        ASSERT_EQ(zip->extractTo(out()), std::nullopt);
        ASSERT_TRUE(zip->matches(out(), "Nolvea.app"));
        change();
        EXPECT_FALSE(zip->matches(out(), "Nolvea.app"));
    }
}

} // namespace
