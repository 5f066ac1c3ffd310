#include "platform/LaunchError.h"
#include "platform/linux/DesktopApplications.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/XdgLauncher.h"
#include "support/DesktopFixture.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(DesktopEntry, ExpandsExecWithoutAShell) {
    struct Case {
        QString exec;
        QStringList targets;
        QStringList argv;
    };
    const QList<Case> cases = {
        {"gedit %U", {"/tmp/a b.txt"}, {"gedit", "file:///tmp/a b.txt"}},
        {"gedit %F", {"/tmp/a", "/tmp/b"}, {"gedit", "/tmp/a", "/tmp/b"}},
        {"vlc --open=%f", {"/tmp/x"}, {"vlc", "--open=/tmp/x"}},
        {"app %u", {"https://x.org/?q=1"}, {"app", "https://x.org/?q=1"}},
        {"app %u", {}, {"app"}},
        {"\"/opt/my app/run\" \"$HOME\" '*' %i %%", {}, {"/opt/my app/run", "$HOME", "'*'", "%"}},
        {"sh -c \"echo \\\"hi\\\"\"", {}, {"sh", "-c", "echo \"hi\""}},
        {"app %d %m", {}, {"app"}},
        {"\"unclosed", {}, {}},
    };
    for (const auto& c : cases) {
        DesktopEntry e;
        e.exec = c.exec;
        EXPECT_EQ(e.command(c.targets), c.argv) << c.exec.toStdString();
    }
}

class XdgLauncherTest : public ::testing::Test {
protected:
    test::DesktopFixture desktop;
    XdgLauncher launcher;
    QString docs = test::home() + "/Documentos";

    void SetUp() override {
        QDir().mkpath(docs);
        QFile f(docs + "/nota.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("oi\n");
    }

    template <typename F> QString launchError(F&& fn) {
        try {
            fn();
        } catch (const LaunchError& e) {
            return e.message();
        }
        return "no error";
    }
};

TEST_F(XdgLauncherTest, OpensAFileWithTheDefaultApplication) {
    desktop.addApp("declares.desktop", "Declara", "%1 %f", {"MimeType=text/plain;"});
    desktop.addApp("editor.desktop", "Editor", "%1 %F", {"MimeType=text/plain;"});
    desktop.setDefault("text/plain", "missing.desktop;editor.desktop;");
    launcher.openFile(docs + "/nota.txt");
    EXPECT_EQ(desktop.waitForCall("editor.desktop"), QStringList{docs + "/nota.txt"});
    EXPECT_FALSE(QFile::exists(desktop.callsOf("declares.desktop")));
}

TEST_F(XdgLauncherTest, FallsBackToDeclaredAndParentTypes) {
    // No default: an application that declares a parent type (text/plain for C source).
    desktop.addApp("plain.desktop", "Texto", "%1 %u", {"MimeType=text/plain;"});
    QFile src(docs + "/main.c");
    ASSERT_TRUE(src.open(QIODevice::WriteOnly));
    src.write("int main(){}\n");
    src.close();
    launcher.openFile(docs + "/main.c");
    EXPECT_EQ(desktop.waitForCall("plain.desktop"),
              QStringList{QUrl::fromLocalFile(docs + "/main.c").toString()});
}

TEST_F(XdgLauncherTest, ReportsWhenNothingOpens) {
    // Declared, but its program is gone: it does not count.
    desktop.addApp("gone.desktop", "Sumiu", "/nonexistent/bin %f", {"MimeType=text/plain;"});
    desktop.addApp("tried.desktop", "Testado", "%1 %f",
                   {"MimeType=text/plain;", "TryExec=/nonexistent/check"});
    EXPECT_EQ(launchError([&] { launcher.openFile(docs + "/nota.txt"); }),
              "Nenhum app está configurado para abrir \"nota.txt\" (text/plain).");
    EXPECT_EQ(launchError([&] { launcher.openURL(QUrl("https://example.org")); }),
              "Nenhum navegador está configurado para abrir o link.");
    EXPECT_EQ(launchError([&] { launcher.openURL(QUrl("mailto:a@b.org")); }),
              "Nenhum app de e-mail está configurado para abrir o link.");
    EXPECT_EQ(launchError([&] { launcher.openApplication("Planilhas"); }),
              "Nenhum app chamado \"Planilhas\" está instalado.");
}

TEST_F(XdgLauncherTest, OpensAddressesWithTheirSchemeHandler) {
    desktop.addApp("browser.desktop", "Navegador", "%1 %u", {"MimeType=text/html;"});
    desktop.addApp("mail.desktop", "Correio", "%1 %u", {"MimeType=x-scheme-handler/mailto;"});
    launcher.openURL(QUrl("https://example.org/a?q=c%2B%2B"));
    EXPECT_EQ(desktop.waitForCall("browser.desktop"),
              QStringList{"https://example.org/a?q=c%2B%2B"});
    launcher.openURL(QUrl("mailto:ana@example.org"));
    EXPECT_EQ(desktop.waitForCall("mail.desktop"), QStringList{"mailto:ana@example.org"});
}

TEST_F(XdgLauncherTest, FindsApplicationsByTheNamesPeopleUse) {
    desktop.addApp("org.example.Music.desktop", "Music", "%1 music",
                   {"Name[pt_BR]=Música", "GenericName=Tocador"});
    desktop.addApp("helper.desktop", "Música", "%1 helper", {"NoDisplay=true"});
    desktop.addApp("hidden.desktop", "Calc", "%1 hidden", {"Hidden=true"});
    const struct {
        QString name;
        QString id; // empty: none
    } cases[] = {
        {"musica", "org.example.Music.desktop"}, // localized name, no accent, any case
        {"MUSIC", "org.example.Music.desktop"},  // the untranslated name
        {"org.example.Music", "org.example.Music.desktop"},
        {"Music.desktop", "org.example.Music.desktop"},
        {"tocador", "org.example.Music.desktop"},
        {"Calc", ""},
    };
    for (const auto& c : cases) {
        const auto found = DesktopApplications().find(c.name);
        EXPECT_EQ(found ? found->id : QString(), c.id) << c.name.toStdString();
    }
    launcher.openApplication("Música");
    EXPECT_EQ(desktop.waitForCall("org.example.Music.desktop"), QStringList{"music"});
}

TEST_F(XdgLauncherTest, RevealsInTheFolderWhenNoFileManagerAnswers) {
    desktop.addApp("files.desktop", "Arquivos", "%1 %f", {"MimeType=inode/directory;"});
    launcher.revealFile(docs + "/nota.txt");
    EXPECT_EQ(desktop.waitForCall("files.desktop"), QStringList{docs});
}

} // namespace
