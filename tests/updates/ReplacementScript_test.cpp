#include "updates/ReplacementScript.h"
#include "updates/ZipArchive.h"

#include "UpdateFixtures.h"
#include "support/Async.h"
#include "support/PrivateTempDir.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

// The script run for real: an installed root in a folder of its own, the new root in a work
// folder, and a stand-in process whose end starts the replacement.
class ReplacementScriptTest : public ::testing::Test {
protected:
    // Quotes, "$", backquotes and spaces must reach the script literally.
    QString holder =
        test::home() + "/apps \"$HOME\" `id` $(id)-" +
        QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
    QString root = holder + "/Nolvea";
    PrivateTempDir work{QStringLiteral("nolvea-atualizacao-7")};
    QString newRoot = work.filePath("Nolvea.app");
    QProcess running;

    void SetUp() override {
        test::makeAppRoot(root, "velha");
        const auto zip = ZipArchive::open(test::releaseZip("nova").bytes());
        ASSERT_TRUE(zip);
        ASSERT_EQ(zip->extractTo(work.path()), std::nullopt);
        running.start("sleep", {"60"});
        ASSERT_TRUE(running.waitForStarted());
    }
    void TearDown() override {
        running.kill();
        running.waitForFinished();
    }

    // What the holder folder contains, sorted.
    QStringList beside() const {
        QStringList names =
            QDir(holder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }

    void startAndQuit() {
        ASSERT_EQ(ReplacementScript::start(running.processId(), root, newRoot, work.path()),
                  std::nullopt);
        // Nothing moves while the program runs.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 300);
        EXPECT_EQ(test::readAll(root + "/share/nolvea/versao.txt"), "velha\n");
        running.kill();
        running.waitForFinished();
        ASSERT_TRUE(test::spinUntil([&] { return !test::readAll(holder + "/iniciou").isEmpty(); }));
        ASSERT_TRUE(test::spinUntil([&] { return !QFileInfo::exists(work.path()); }));
    }
};

TEST_F(ReplacementScriptTest, SwapsTheRootsAndStartsTheNewVersion) {
    startAndQuit();
    EXPECT_EQ(test::readAll(holder + "/iniciou"), "nova\n");
    EXPECT_EQ(test::readAll(root + "/share/nolvea/versao.txt"), "nova\n");
    EXPECT_TRUE(QFileInfo(root + "/bin/nolvea").isExecutable());
    // The old root is gone and nothing was left beside the new one.
    EXPECT_EQ(beside(), QStringList({"Nolvea", "iniciou"}));
}

TEST_F(ReplacementScriptTest, AFailingCopyKeepsAndRestartsTheOldVersion) {
    // The new root vanishes before the copy: `cp` fails.
    QDir(newRoot).removeRecursively();
    startAndQuit();
    EXPECT_EQ(test::readAll(holder + "/iniciou"), "velha\n");
    EXPECT_EQ(test::listTree(root), QStringList({"bin", "bin/nolvea", "share", "share/nolvea",
                                                 "share/nolvea/versao.txt"}));
    EXPECT_EQ(beside(), QStringList({"Nolvea", "iniciou"}));
}

TEST_F(ReplacementScriptTest, ACopyWithoutTheProgramIsNeverSwappedIn) {
    QFile::remove(newRoot + "/bin/nolvea");
    startAndQuit();
    EXPECT_EQ(test::readAll(holder + "/iniciou"), "velha\n");
    EXPECT_EQ(test::readAll(root + "/share/nolvea/versao.txt"), "velha\n");
    EXPECT_EQ(beside(), QStringList({"Nolvea", "iniciou"}));
}

// A rename that fails cannot be brought about for real here (root renames anything), so `mv`
// is wrapped to fail the second rename, the one that puts the new root in place.
TEST_F(ReplacementScriptTest, AFailedSwapPutsTheOldVersionBack) {
    const QString shims = test::home() + "/shims";
    QDir().mkpath(shims);
    QFile mv(shims + "/mv");
    ASSERT_TRUE(mv.open(QIODevice::WriteOnly));
    mv.write("#!/bin/sh\n"
             "n=$(cat \"$0.n\" 2>/dev/null || echo 0); n=$((n + 1)); echo $n >\"$0.n\"\n"
             "[ $n -eq 2 ] && exit 1\n"
             "exec /bin/mv \"$@\"\n");
    mv.close();
    mv.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(shims) + ':' + path);
    startAndQuit();
    qputenv("PATH", path);
    EXPECT_EQ(test::readAll(shims + "/mv.n"), "3\n"); // aside, new in place (failed), back
    EXPECT_EQ(test::readAll(holder + "/iniciou"), "velha\n");
    EXPECT_EQ(test::listTree(root), QStringList({"bin", "bin/nolvea", "share", "share/nolvea",
                                                 "share/nolvea/versao.txt"}));
    EXPECT_EQ(beside(), QStringList({"Nolvea", "iniciou"}));
}

TEST(ReplacementScript, PathsAreArgumentsNeverText) {
    const QString odd = QStringLiteral("/tmp/a\"b$c`d");
    const QStringList args = ReplacementScript::arguments(42, odd, odd + "n", odd + "w");
    ASSERT_EQ(args.size(), 7);
    EXPECT_EQ(args.mid(3), QStringList({"42", odd, odd + "n", odd + "w"}));
    EXPECT_FALSE(args[1].contains(odd));
}

} // namespace
