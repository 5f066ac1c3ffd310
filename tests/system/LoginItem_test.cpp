// The autostart entry: its state as desktops read it, an Exec line that runs exactly this
// program whatever its path holds, and a rewrite that never loses the entry.
#include "support/Printers.h"
#include "support/TestEnvironment.h"
#include "system/LoginItem.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

class LoginItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = test::home() + "/autostart-test";
        QDir(m_dir).removeRecursively();
        QDir().mkpath(m_dir);
    }
    void TearDown() override {
        QFile::setPermissions(m_dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(m_dir).removeRecursively();
    }
    QString entry() const { return m_dir + "/nolvea.desktop"; }
    void write(const QByteArray& text) {
        QFile f(entry());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray read() {
        QFile f(entry());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString m_dir;
};

TEST_F(LoginItemTest, StatusAsDesktopsReadIt) {
    struct Case {
        const char* what;
        QByteArray text; // empty: no file
        LoginItem::Status status;
    };
    using S = LoginItem::Status;
    const Case cases[] = {
        {"no entry", "", S::notRegistered},
        {"a plain entry", "[Desktop Entry]\nType=Application\nExec=nolvea\n", S::enabled},
        {"hidden", "[Desktop Entry]\nExec=nolvea\nHidden=true\n", S::notRegistered},
        {"switched off", "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", S::notRegistered},
        {"switched on", "[Desktop Entry]\nX-GNOME-Autostart-enabled=true\n", S::enabled},
        {"Hidden in another group",
         "[Desktop Entry]\nExec=nolvea\n[Desktop Action x]\nHidden=true\n", S::enabled},
    };
    for (const Case& c : cases) {
        QFile::remove(entry());
        if (!c.text.isEmpty()) write(c.text);
        EXPECT_EQ(LoginItem(entry(), "/opt/nolvea/bin/nolvea").status(), c.status) << c.what;
    }
}

TEST(LoginItemExec, QuotedSoTheLauncherRunsThisPathAndNothingElse) {
    struct Case {
        QString program;
        QString exec;
    };
    const Case cases[] = {
        {"/opt/Nolvea/bin/nolvea", R"("/opt/Nolvea/bin/nolvea")"},
        {"/home/ana/Meus Apps/bin/nolvea", R"("/home/ana/Meus Apps/bin/nolvea")"},
        {"/tmp/$(reboot)/bin/nolvea", R"("/tmp/\\$(reboot)/bin/nolvea")"},
        {"/tmp/`id`/nolvea", R"("/tmp/\\`id\\`/nolvea")"},
        {R"(/tmp/a"b/nolvea)", R"("/tmp/a\\"b/nolvea")"},
        {R"(/tmp/a\b/nolvea)", R"("/tmp/a\\\\b/nolvea")"},
        {"/tmp/100%/nolvea", R"("/tmp/100%%/nolvea")"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoginItem::execValue(c.program), c.exec) << c.program.toStdString();
    EXPECT_FALSE(LoginItem::execValue("/tmp/a\nb/nolvea").has_value());
    EXPECT_FALSE(LoginItem::execValue("").has_value());
}

// What a launcher does with the written line: undo the string escapes, then run the quoted
// argument through a shell-free split. Checked with the shell's own reading of the same
// quoting, which is a superset of the desktop-entry rules for these characters.
TEST_F(LoginItemTest, AWrittenEntryRunsExactlyThatProgram) {
    const QString program = m_dir + "/a $x `y` \"z\" \\w 5%/nolvea";
    ASSERT_TRUE(LoginItem(entry(), program).registerItem());
    EXPECT_EQ(LoginItem(entry(), program).status(), LoginItem::Status::enabled);
    const QByteArray text = read();
    const qsizetype at = text.indexOf("\nExec=");
    ASSERT_GE(at, 0);
    QByteArray exec = text.mid(at + 6, text.indexOf('\n', at + 1) - at - 6);
    exec.replace("\\\\", "\\").replace("%%", "%"); // the string and field-code escapes
    QProcess shell;
    shell.start("sh", {"-c", "printf '%s' " + QString::fromUtf8(exec)});
    ASSERT_TRUE(shell.waitForFinished());
    EXPECT_EQ(QString::fromUtf8(shell.readAllStandardOutput()), program);
}

TEST_F(LoginItemTest, RewritingKeepsTheOldEntryWhenTheWriteFails) {
    write("[Desktop Entry]\nExec=/old/bin/nolvea\n");
    EXPECT_FALSE(LoginItem(entry(), "/new/bin\n/nolvea").registerItem());
    EXPECT_EQ(read(), "[Desktop Entry]\nExec=/old/bin/nolvea\n");
    QFile::setPermissions(m_dir, QFile::ReadOwner | QFile::ExeOwner);
    if (QFile(m_dir + "/probe").open(QIODevice::WriteOnly)) GTEST_SKIP() << "running as root";
    EXPECT_FALSE(LoginItem(entry(), "/new/bin/nolvea").registerItem());
    EXPECT_EQ(read(), "[Desktop Entry]\nExec=/old/bin/nolvea\n");
    EXPECT_EQ(LoginItem(entry(), "/new/bin/nolvea").status(), LoginItem::Status::enabled);
}

TEST_F(LoginItemTest, UnregisterRemovesTheEntry) {
    const LoginItem item(entry(), "/opt/bin/nolvea");
    EXPECT_TRUE(item.unregisterItem()) << "nothing to remove is fine";
    ASSERT_TRUE(item.registerItem());
    EXPECT_TRUE(item.unregisterItem());
    EXPECT_FALSE(QFile::exists(entry()));
    EXPECT_EQ(item.status(), LoginItem::Status::notRegistered);
}

} // namespace
