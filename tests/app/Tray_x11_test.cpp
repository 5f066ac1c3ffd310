// The running application as a person meets it, under a window manager and a tray host: the
// icon in the tray, its window read and used as a screen reader would, quitting from the
// footer, a second start handing over to the first, and the first-run steps.
#include "app/AccessibleTree.h"
#include "app/DevRun.h"
#include "app/DisplaySession.h"
#include "core/HistoryEntry.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/Printers.h"
#include "support/TestEnvironment.h"
#include "support/WindowManager.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

// Xlib's macros last.
#include "app/X11Windows.h"

#include <csignal>
#include <functional>
#include <memory>

using namespace nolvea;
using namespace nolvea::test;

namespace {

const QStringList kButtonRoles{"push button", "button"};
const QString kServerSeconds = QStringLiteral("4343");

// A program of the desktop for one scope (openbox, trayer), ended with it. What a window
// manager leaves on the root window goes too, so later tests find a bare display again.
class Helper {
public:
    Helper(const QString& program, const QStringList& args) {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program, args);
        m_process.waitForStarted();
    }
    ~Helper() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) m_process.kill();
        m_process.waitForFinished();
        for (const char* name :
             {"_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW", "_NET_CLIENT_LIST",
              "_NET_CLIENT_LIST_STACKING", "_NET_SUPPORTED", "_NET_WORKAREA", "_NET_DESKTOP_NAMES",
              "_NET_NUMBER_OF_DESKTOPS", "_NET_CURRENT_DESKTOP", "_NET_DESKTOP_GEOMETRY",
              "_NET_DESKTOP_VIEWPORT", "_OB_THEME", "_OB_VERSION", "_OB_CONFIG_FILE"})
            QProcess::execute("xprop", {"-root", "-remove", name});
    }

private:
    QProcess m_process;
};

QString configFile() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Falantorix/Nolvea.conf";
}

QVariant storedSetting(const QString& key) {
    return QSettings(configFile(), QSettings::IniFormat).value(key);
}

// The MCP servers of this test's home still running.
QList<int> lingeringServers() {
    const QByteArray home = "HOME=" + QFile::encodeName(test::home());
    const QByteArrayList command{"sleep", kServerSeconds.toLatin1(), ""};
    QList<int> pids;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline"), environ("/proc/" + pid + "/environ");
        if (!cmdline.open(QIODevice::ReadOnly) || !environ.open(QIODevice::ReadOnly)) continue;
        if (cmdline.readAll().split('\0') == command &&
            environ.readAll().split('\0').contains(home))
            pids << pid.toInt();
    }
    return pids;
}

void saveScreenshot(const QRect& area, const QString& name) {
    QDir().mkpath(NOLVEA_BINARY_DIR "/screenshots");
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height());
    shot.save(NOLVEA_BINARY_DIR "/screenshots/" + name + ".png");
}

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        // Each test from a clean home: settings, data, autostart and the runtime folder.
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            const QString dir = qEnvironmentVariable(var);
            QDir(dir).removeRecursively();
            QDir().mkpath(dir);
        }
        QFile::setPermissions(qEnvironmentVariable("XDG_RUNTIME_DIR"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_model.on("GET", "/v1/models", HttpResponse::json(R"({"data":[{"id":"modelo-teste"}]})"));
        configureModel("lmStudio", m_model.url("/v1"), "modelo-teste");
        configureSetting("hasCompletedOnboarding", true);
        configureSetting("playSounds", true);
        configureSetting("aiCleanupEnabled", true);
        configureSetting("agentEnabled", false);
    }
    void TearDown() override {
        for (auto& p : m_running) {
            if (p->state() == QProcess::NotRunning) continue;
            p->kill();
            p->waitForFinished(5000);
        }
        for (int pid : lingeringServers())
            ::kill(pid, SIGKILL);
    }

    QProcess& start(const QStringList& args = {}, QProcessEnvironment env = {}) {
        if (env.isEmpty()) env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(nolveaProgram(), args);
        EXPECT_TRUE(p->waitForStarted(10000));
        m_running.push_back(std::move(p));
        return *m_running.back();
    }
    // Waits until the program answers on the accessibility bus with a tree holding `name`.
    AccessibleTree treeWith(qint64 pid, const std::function<bool(const AccessibleTree&)>& ok,
                            int ms = 20000) {
        AccessibleTree tree;
        spinUntil(
            [&] {
                tree = AccessibleTree::of(pid);
                return ok(tree);
            },
            ms);
        return tree;
    }
    static const AccessibleNode* button(const AccessibleTree& tree, const QString& name) {
        for (const QString& role : kButtonRoles)
            if (const AccessibleNode* n = tree.find(role, name)) return n;
        return nullptr;
    }
    static bool pressButton(const AccessibleTree& tree, const QString& name) {
        for (const QString& role : kButtonRoles)
            if (tree.press(role, name)) return true;
        return false;
    }

    LoopbackServer m_model;
    std::vector<std::unique_ptr<QProcess>> m_running;
};

void writeHistory(const QList<HistoryEntry>& entries) {
    const QString dir = qEnvironmentVariable("XDG_DATA_HOME") + "/Falantorix";
    QDir().mkpath(dir);
    QJsonArray array;
    for (const HistoryEntry& e : entries)
        array << QJsonDocument::fromJson(e.toJSON().compactBytes()).object();
    QFile f(dir + "/history.json");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QJsonDocument(array).toJson());
}

void writeMuteServer() {
    const QString dir = qEnvironmentVariable("XDG_DATA_HOME") + "/Falantorix";
    QDir().mkpath(dir);
    QFile mcp(dir + "/mcp.json");
    ASSERT_TRUE(mcp.open(QIODevice::WriteOnly));
    const QJsonObject server{{"command", "sleep"}, {"args", QJsonArray{kServerSeconds}}};
    mcp.write(QJsonDocument(QJsonObject{{"mcpServers", QJsonObject{{"mudo", server}}}}).toJson());
}

TEST_F(Tray, IconInTheTrayOpensTheWindowThatAScreenReaderCanUse) {
    // A window mapped while the manager still starts may never be managed: wait for it.
    const test::WindowManager openbox;
    ASSERT_TRUE(openbox.isRunning());
    X11Windows x;
    ASSERT_TRUE(x.get());
    Helper trayer("trayer",
                  {"--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24",
                   "--transparent", "false", "--tint", "0x303030", "--SetDockType", "true"});
    ASSERT_TRUE(spinUntil([&] { return x.trayManager() != None; })) << "no tray host";
    writeHistory({HistoryEntry::make(HistoryEntry::Kind::dictation, "Editor", "oi", "Bom dia."),
                  HistoryEntry::make(HistoryEntry::Kind::agent, "Nolvea", "q", "São 15h.")});
    writeMuteServer();

    QProcess& nolvea = start();
    const qint64 pid = nolvea.processId();
    Window icon = None;
    ASSERT_TRUE(spinUntil([&] { return (icon = x.embeddedIconOf(pid)) != None; }, 20000))
        << "the tray icon was not embedded";
    EXPECT_TRUE(spinUntil([] { return lingeringServers().size() == 1; }));

    // The tray host lays its icons out again once one is embedded: click where it settles.
    QRect iconArea = x.geometry(icon);
    int steady = 0;
    ASSERT_TRUE(spinUntil([&] {
        const QRect now = x.geometry(icon);
        steady = now == iconArea ? steady + 1 : 0;
        iconArea = now;
        QThread::msleep(50);
        return steady >= 4;
    })) << "the tray icon never came to rest";
    x.click(iconArea.center());
    Window window = None;
    ASSERT_TRUE(spinUntil([&] { return (window = x.windowOf(pid, "Nolvea")); }))
        << "clicking the icon opened no window";
    const QRect frame = x.geometry(window);
    EXPECT_EQ(frame.width(), 340);
    EXPECT_GE(frame.top(), iconArea.bottom()) << "it opens under the icon";
    EXPECT_LE(frame.left(), iconArea.center().x());

    const AccessibleTree tree = treeWith(pid, [](const AccessibleTree& t) {
        return t.find("label", "modelo-teste") && t.find("label", "LM Studio conectado");
    });
    const QStringList labels = tree.showingNames("label");
    for (const QString& text :
         {"Nolvea", "Pronto · segure Fn / 🌐", "LM Studio conectado", "modelo-teste",
          "Refinar com IA", "Modo agente (+ ⌃)", "Sons", "Recentes"})
        EXPECT_TRUE(labels.contains(text))
            << text.toStdString() << " in " << labels.join(" | ").toStdString();
    for (const QString& name : {"Copiar: Bom dia.", "Copiar: São 15h."})
        EXPECT_NE(button(tree, name), nullptr) << name.toStdString();

    struct Footer {
        QString name;
        bool enabled;
    };
    for (const Footer& f : {Footer{"Histórico", true}, Footer{"Ajustes", true},
                            Footer{"Demo", true}, Footer{"Sair", true}}) {
        const AccessibleNode* b = button(tree, f.name);
        ASSERT_NE(b, nullptr) << f.name.toStdString();
        EXPECT_EQ(b->enabled, f.enabled) << f.name.toStdString();
        if (!f.enabled) EXPECT_TRUE(b->description.contains("ainda não disponível"));
    }
    // Every control says what it is.
    for (const AccessibleNode& n : tree.showing())
        if (kButtonRoles.contains(n.role) || n.role == "check box")
            EXPECT_FALSE(n.name.isEmpty()) << n.role.toStdString();

    const AccessibleNode* sounds = tree.find("check box", "Sons");
    ASSERT_NE(sounds, nullptr);
    EXPECT_TRUE(sounds->checked);
    EXPECT_FALSE(tree.find("check box", "Modo agente (+ ⌃)")->checked);
    saveScreenshot(frame, "menubar-window");

    // A toggle writes its setting at once.
    ASSERT_TRUE(tree.press("check box", "Sons"));
    EXPECT_TRUE(spinUntil([] { return storedSetting("playSounds") == QVariant("false"); }))
        << storedSetting("playSounds").toString().toStdString();

    ASSERT_TRUE(pressButton(AccessibleTree::of(pid), "Sair"));
    ASSERT_TRUE(nolvea.waitForFinished(10000)) << "Sair did not end the program";
    EXPECT_EQ(nolvea.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(nolvea.exitCode(), 0);
    EXPECT_TRUE(spinUntil([] { return lingeringServers().isEmpty(); }, 5000))
        << "an MCP server outlived the program";
    EXPECT_TRUE(spinUntil([&] { return x.embeddedIconOf(pid) == None; }, 5000));
}

TEST_F(Tray, ASecondStartBringsTheFirstOnesWindowForwardAndEnds) {
    // No tray host: this is how the window is reached then.
    // A window mapped while the manager still starts may never be managed: wait for it.
    const test::WindowManager openbox;
    ASSERT_TRUE(openbox.isRunning());
    X11Windows x;
    QProcess& first = start();
    const QString socket = qEnvironmentVariable("XDG_RUNTIME_DIR") + "/nolvea.sock";
    ASSERT_TRUE(spinUntil([&] { return QFile::exists(socket); }, 20000));
    EXPECT_EQ(x.windowOf(first.processId(), "Nolvea"), None);

    QProcess& second = start();
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second start did not end";
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    Window window = None;
    ASSERT_TRUE(spinUntil([&] { return (window = x.windowOf(first.processId(), "Nolvea")); }))
        << "the first instance showed no window";
    EXPECT_EQ(first.state(), QProcess::Running);
    const AccessibleTree tree =
        treeWith(first.processId(), [](const AccessibleTree& t) { return button(t, "Sair"); });
    EXPECT_TRUE(button(tree, "Sair") && button(tree, "Sair")->showing);
    saveScreenshot(x.geometry(window), "menubar-window-without-tray");

    // Asked for the onboarding, the running one opens it.
    QProcess& asking = start({"--onboarding"});
    ASSERT_TRUE(asking.waitForFinished(10000));
    EXPECT_EQ(asking.exitCode(), 0);
    EXPECT_TRUE(spinUntil([&] { return x.windowOf(first.processId(), "Boas-vindas à Nolvea"); }));

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
    // The next start is the only one again.
    QProcess& third = start();
    EXPECT_FALSE(third.waitForFinished(1500)) << "it should keep running";
    third.terminate();
    EXPECT_TRUE(third.waitForFinished(10000));
}

TEST_F(Tray, FirstRunOpensTheOnboardingAndMovesTheLoginItemOnce) {
    // A window mapped while the manager still starts may never be managed: wait for it.
    const test::WindowManager openbox;
    ASSERT_TRUE(openbox.isRunning());
    X11Windows x;
    QSettings(configFile(), QSettings::IniFormat).remove("hasCompletedOnboarding");
    const QString autostart = qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart";
    QDir().mkpath(autostart);
    const auto writeEntry = [&] {
        QFile f(autostart + "/nolvea.desktop");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Desktop Entry]\nType=Application\nName=Nolvea\nExec=/antigo/bin/nolvea\n");
    };
    const auto entry = [&] {
        QFile f(autostart + "/nolvea.desktop");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    writeEntry();

    // A first run: the onboarding opens and the login item now starts this program.
    QProcess& first = start();
    // A first start on a busy machine can take several seconds before its first window.
    EXPECT_TRUE(
        spinUntil([&] { return x.windowOf(first.processId(), "Boas-vindas à Nolvea"); }, 30000))
        << "no onboarding on a first run";
    EXPECT_TRUE(spinUntil([&] { return entry().contains("Exec=\"" + nolveaProgram() + "\""); }))
        << entry().toStdString();
    EXPECT_TRUE(spinUntil([] { return storedSetting("loginItemMigratedToNolvea").toBool(); }));
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));

    // Later runs leave the login item alone; "--onboarding" opens the onboarding again.
    writeEntry();
    configureSetting("hasCompletedOnboarding", true);
    QProcessEnvironment wayland = QProcessEnvironment::systemEnvironment();
    wayland.insert("WAYLAND_DISPLAY", "wayland-nolvea-teste");
    QProcess& again = start({"--onboarding"}, wayland);
    EXPECT_TRUE(spinUntil([&] { return x.windowOf(again.processId(), "Boas-vindas à Nolvea"); }));
    EXPECT_EQ(entry(), "[Desktop Entry]\nType=Application\nName=Nolvea\nExec=/antigo/bin/nolvea\n");
    again.terminate();
    ASSERT_TRUE(again.waitForFinished(10000));
    EXPECT_EQ(again.exitCode(), 0);
    EXPECT_TRUE(
        QString::fromUtf8(again.readAllStandardError()).contains(DisplaySession::waylandNotice()))
        << "a Wayland session is told what needs X11";

    // Onboarding done and not asked for: the application starts without it.
    const int probes = m_model.count("/v1/models");
    QProcess& plain = start();
    // The model monitor starts before the onboarding step, in the same turn of the launch.
    ASSERT_TRUE(spinUntil([&] { return m_model.count("/v1/models") > probes; }, 20000));
    const AccessibleTree tree =
        treeWith(plain.processId(), [](const AccessibleTree& t) { return !t.nodes().isEmpty(); });
    EXPECT_TRUE(tree.showingNames("frame").isEmpty() && tree.showingNames("window").isEmpty())
        << tree.showingNames("frame").join(", ").toStdString();
    plain.terminate();
    EXPECT_TRUE(plain.waitForFinished(10000));
}

} // namespace

namespace {

// Ctrl+C, the session's logout and a plain kill all run the exit steps.
TEST_F(Tray, EndsCleanlyOnEachQuitSignal) {
    writeMuteServer();
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        QProcess& nolvea = start();
        ASSERT_TRUE(spinUntil([] { return lingeringServers().size() == 1; }, 20000));
        ::kill(pid_t(nolvea.processId()), signal);
        ASSERT_TRUE(nolvea.waitForFinished(10000));
        EXPECT_EQ(nolvea.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(nolvea.exitCode(), 0);
        EXPECT_TRUE(spinUntil([] { return lingeringServers().isEmpty(); }, 5000));
    }
}

} // namespace
