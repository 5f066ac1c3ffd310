#include "input/HotkeyMonitor.h"
#include "platform/DesktopError.h"
#include "platform/linux/XInputKeySource.h"
#include "support/Async.h"
#include "support/FrontApp.h"
#include "support/WindowManager.h"
#include "support/X11Keys.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace nolvea;
using namespace nolvea::test;

namespace {

// A monitor listening on the test display that writes every callback into a log.
struct Listening {
    HotkeyMonitor monitor{std::make_shared<XInputKeySource>()};
    QStringList log;
    bool offMainThread = false;

    explicit Listening(HotkeyChoice trigger) {
        monitor.setTrigger(trigger);
        auto note = [this](const QString& what) {
            if (QThread::currentThread() != qApp->thread()) offMainThread = true;
            log.append(what);
        };
        monitor.onTriggerDown = [note] { note("down"); };
        monitor.onTriggerUp = [note] { note("up"); };
        monitor.onControlChange = [note](bool on) { note(on ? "control on" : "control off"); };
        monitor.onEscape = [note] { note("escape"); };
        monitor.onOtherKey = [note] { note("other"); };
        monitor.start();
    }

    // Posts the keys ("+Alt_R" presses, "-Alt_R" releases), then an Escape as a marker, and
    // waits for the marker: every event before it has been handled by then.
    QStringList play(const QStringList& keys) {
        const int marker = log.count("escape") + keys.count("+Escape") + 1;
        for (const QString& k : keys) {
            const QByteArray sym = k.mid(1).toLatin1();
            const bool ok = k.startsWith('+') ? X11Keys::press(sym) : X11Keys::release(sym);
            EXPECT_TRUE(ok) << "no key for " << k.toStdString();
        }
        X11Keys::tap("Escape");
        EXPECT_TRUE(spinUntil([&] { return log.count("escape") >= marker; }));
        log.removeLast();
        return log;
    }
};

class HotkeyMonitorX11 : public ::testing::Test {
protected:
    void TearDown() override { X11Keys::releaseAll(); }
};

struct Case {
    const char* name;
    HotkeyChoice trigger;
    QStringList keys;
    QStringList expected;
};

TEST_F(HotkeyMonitorX11, PostedKeysReachTheCallbacksInOrder) {
    const QList<Case> cases{
        {"menu is the fn trigger; a letter while held is another key",
         HotkeyChoice::fn,
         {"+Menu", "+a", "-a", "-Menu", "+a", "-a"},
         {"down", "other", "up"}},
        {"right Alt goes up with its own release while left Alt is held",
         HotkeyChoice::rightOption,
         {"+Alt_L", "+Alt_R", "-Alt_R", "-Alt_L"},
         {"down", "up"}},
        {"the other hand's Alt going up first does not end the trigger",
         HotkeyChoice::rightOption,
         {"+Alt_R", "+Alt_L", "-Alt_L", "+b", "-Alt_R"},
         {"down", "other", "up"}},
        {"modifiers and the other trigger keys are not other keys",
         HotkeyChoice::rightCommand,
         {"+Super_R", "+Shift_L", "-Shift_L", "+Menu", "-Menu", "+Alt_R", "-Alt_R", "-Super_R"},
         {"down", "up"}},
        {"escape is reported whether or not the trigger is held",
         HotkeyChoice::fn,
         {"+Escape", "-Escape", "+Menu", "+Escape", "-Escape", "-Menu"},
         {"escape", "down", "escape", "up"}},
        {"a letter with the trigger up reports nothing",
         HotkeyChoice::fn,
         {"+x", "-x", "+Return", "-Return"},
         {}},
        {"both Controls count as one, reported on the first down and the last up",
         HotkeyChoice::fn,
         {"+Control_L", "+Control_R", "-Control_L", "-Control_R"},
         {"control on", "control off"}},
        {"a repeated press of the trigger is one edge",
         HotkeyChoice::fn,
         {"+Menu", "+Menu", "+Menu", "-Menu"},
         {"down", "up"}},
        {"the trigger's key of another choice does nothing",
         HotkeyChoice::rightCommand,
         {"+Menu", "-Menu", "+Alt_R", "-Alt_R"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Listening l(c.trigger);
        ASSERT_TRUE(l.monitor.isRunning());
        EXPECT_EQ(l.play(c.keys), c.expected);
        EXPECT_FALSE(l.offMainThread);
        X11Keys::releaseAll();
    }
}

TEST_F(HotkeyMonitorX11, AltGrCountsAsTheRightOption) {
    Listening l(HotkeyChoice::rightOption);
    if (!X11Keys::press("ISO_Level3_Shift")) GTEST_SKIP() << "this keyboard map has no AltGr";
    EXPECT_EQ(l.play({"-ISO_Level3_Shift"}), (QStringList{"down", "up"}));
}

// The keyboard layout of the test display for one scope.
class KeyboardLayout {
public:
    explicit KeyboardLayout(const QString& layout) {
        m_set = QProcess::execute("setxkbmap", {layout}) == 0;
    }
    ~KeyboardLayout() { QProcess::execute("setxkbmap", {"us"}); }
    bool isSet() const { return m_set; }

private:
    bool m_set = false;
};

// Another application in front, under a window manager, as the person has it.
class TriggerInFront : public HotkeyMonitorX11 {
protected:
    void SetUp() override {
        ASSERT_TRUE(manager.isRunning());
        ASSERT_TRUE(front.isReady());
        front.focus();
        // The manager gives the focus in its own time; keys before that would go astray.
        const QByteArray id = "0x" + QByteArray::number(front.windowId(), 16);
        ASSERT_TRUE(spinUntil([&] {
            return WindowManager::rootProperty("_NET_ACTIVE_WINDOW").trimmed().endsWith(id);
        }));
        front.keysPressed();
    }
    // The keys the application was given, up to the Escape that ends what `play` posts: the
    // application may read its keys later than the monitor.
    QList<quint32> keysUpToTheMarker() {
        QList<quint32> keys;
        spinUntil([&] {
            keys += front.keysPressed();
            return keys.contains(X11Keys::keysym("Escape"));
        });
        return keys;
    }
    WindowManager manager;
    FrontApp front;
};

// The trigger's key never reaches the application in front (Menu would open the field's
// context menu, Super a launcher, a lone Alt the menu bar), whatever locks or modifiers are on;
// the keys after it do.
TEST_F(TriggerInFront, TheTriggerKeyReachesOnlyTheMonitor) {
    struct KeyCase {
        const char* name;
        HotkeyChoice trigger;
        QByteArray key;
        QByteArrayList locks; // tapped before and after: on while the trigger is pressed
        QByteArray held;
    };
    const QList<KeyCase> cases{
        {"menu", HotkeyChoice::fn, "Menu", {}, {}},
        {"menu with caps lock on", HotkeyChoice::fn, "Menu", {"Caps_Lock"}, {}},
        {"menu with num lock on", HotkeyChoice::fn, "Menu", {"Num_Lock"}, {}},
        {"menu with shift held", HotkeyChoice::fn, "Menu", {}, "Shift_L"},
        {"menu with control held", HotkeyChoice::fn, "Menu", {}, "Control_L"},
        {"right super", HotkeyChoice::rightCommand, "Super_R", {}, {}},
        {"right super with num and caps lock",
         HotkeyChoice::rightCommand,
         "Super_R",
         {"Num_Lock", "Caps_Lock"},
         {}},
        {"right alt of a layout without AltGr", HotkeyChoice::rightOption, "Alt_R", {}, {}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Listening l(c.trigger);
        ASSERT_TRUE(l.monitor.isRunning());
        for (const QByteArray& lock : c.locks)
            ASSERT_TRUE(X11Keys::tap(lock));
        if (!c.held.isEmpty()) {
            ASSERT_TRUE(X11Keys::press(c.held));
        }
        front.keysPressed();
        const QStringList heard = l.play({"+" + c.key, "-" + c.key});
        if (!c.held.isEmpty()) {
            ASSERT_TRUE(X11Keys::release(c.held));
        }
        for (const QByteArray& lock : c.locks)
            ASSERT_TRUE(X11Keys::tap(lock));
        EXPECT_EQ(heard.mid(heard.indexOf("down")), (QStringList{"down", "up"}));
        ASSERT_TRUE(X11Keys::tap("y"));
        // The Escape of the marker, then the letter: the keyboard is the application's again.
        EXPECT_TRUE(spinUntil([&] { return front.text() == "y"; })) << front.text().toStdString();
        const QList<quint32> keys = front.keysPressed();
        EXPECT_FALSE(keys.contains(X11Keys::keysym(c.key)));
        EXPECT_TRUE(keys.contains(X11Keys::keysym("Escape")) &&
                    keys.contains(X11Keys::keysym("y")));
        front.setText({});
    }
}

// While the trigger is held, Control and Escape still reach the monitor; letting the trigger
// go gives the keyboard back.
TEST_F(TriggerInFront, GesturesWhileHeldAreStillHeard) {
    Listening l(HotkeyChoice::fn);
    EXPECT_EQ(
        l.play({"+Menu", "+Control_L", "-Control_L", "+Escape", "-Escape", "+a", "-a", "-Menu"}),
        (QStringList{"down", "control on", "control off", "escape", "other", "up"}));
    ASSERT_TRUE(X11Keys::tap("b"));
    EXPECT_TRUE(spinUntil([&] { return front.text() == "b"; })) << front.text().toStdString();
}

// Where AltGr is the layout's third-level shift it types characters: it is left to the
// applications and still counts as the trigger. The right Alt of the US layout is kept from
// them, until the layout changes under the running monitor.
TEST_F(TriggerInFront, AltGrOfTheLayoutKeepsTypingItsCharacters) {
    Listening l(HotkeyChoice::rightOption);
    const int rightAlt = X11Keys::keycode("Alt_R");
    ASSERT_NE(rightAlt, 0);
    KeyboardLayout brazilian("br");
    ASSERT_TRUE(brazilian.isSet());
    // Heard after the layout change: the grabs have been renewed by then.
    l.play({});
    l.log.clear();
    ASSERT_TRUE(X11Keys::postCode(rightAlt, true));
    ASSERT_TRUE(X11Keys::tap("q"));
    ASSERT_TRUE(X11Keys::postCode(rightAlt, false));
    EXPECT_EQ(l.play({}), (QStringList{"down", "other", "up"}));
    EXPECT_TRUE(spinUntil([&] { return front.text() == "/"; })) << front.text().toStdString();
}

// A new trigger gives the old key back to the applications.
TEST_F(TriggerInFront, ChangingTheTriggerReleasesTheOldKey) {
    Listening l(HotkeyChoice::rightCommand);
    l.monitor.setTrigger(HotkeyChoice::fn);
    front.keysPressed();
    l.play({"+Super_R", "-Super_R", "+Menu", "-Menu"});
    const QList<quint32> keys = keysUpToTheMarker();
    EXPECT_TRUE(keys.contains(X11Keys::keysym("Super_R")));
    EXPECT_FALSE(keys.contains(X11Keys::keysym("Menu")));
}

TEST_F(HotkeyMonitorX11, ChangingTheTriggerWhileHeldLetsItGo) {
    Listening l(HotkeyChoice::fn);
    EXPECT_EQ(l.play({"+Menu"}), QStringList{"down"});
    l.monitor.setTrigger(HotkeyChoice::rightOption);
    EXPECT_EQ(l.log, (QStringList{"down", "up"}));
    // The old key's release is no longer the trigger's.
    EXPECT_EQ(l.play({"-Menu"}), (QStringList{"down", "up"}));
}

TEST_F(HotkeyMonitorX11, ListensOnAThreadOfItsOwn) {
    Listening l(HotkeyChoice::fn);
    ASSERT_TRUE(l.monitor.isRunning());
    // Heard once, the listening thread has surely named itself.
    EXPECT_EQ(l.play({"+Menu", "-Menu"}), (QStringList{"down", "up"}));
    QStringList names;
    for (const QString& task :
         QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm("/proc/self/task/" + task + "/comm");
        if (comm.open(QIODevice::ReadOnly))
            names.append(QString::fromUtf8(comm.readAll()).trimmed());
    }
    EXPECT_TRUE(names.contains("Nolvea.teclado")) << names.join(", ").toStdString();
    // A second start changes nothing.
    l.monitor.start();
    l.log.clear();
    EXPECT_EQ(l.play({"+Menu", "-Menu"}), (QStringList{"down", "up"}));
}

TEST_F(HotkeyMonitorX11, RetriesEveryTwoSecondsUntilTheDisplayComesUp) {
    ManualClock clock;
    Clock::install(&clock);
    int number = 140;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
        ++number;
    const QByteArray name = ":" + QByteArray::number(number);
    {
        HotkeyMonitor monitor(std::make_shared<XInputKeySource>(name));
        monitor.start();
        EXPECT_FALSE(monitor.isRunning());
        ASSERT_TRUE(monitor.lastError());
        EXPECT_EQ(monitor.lastError()->kind(), DesktopError::Kind::unreachable);
        EXPECT_EQ(clock.pendingTimers(), 1);
        monitor.start(); // replaces the retry timer rather than adding one
        EXPECT_EQ(clock.pendingTimers(), 1);
        clock.advance(std::chrono::seconds(2));
        EXPECT_FALSE(monitor.isRunning());

        QProcess xvfb;
        xvfb.start("Xvfb", {QString::fromLatin1(name), "-nolisten", "tcp"});
        ASSERT_TRUE(spinUntil(
            [&] { return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)); }));
        clock.advance(std::chrono::milliseconds(1999));
        EXPECT_FALSE(monitor.isRunning());
        clock.advance(std::chrono::milliseconds(1));
        EXPECT_TRUE(monitor.isRunning());
        EXPECT_FALSE(monitor.lastError());
        EXPECT_EQ(clock.pendingTimers(), 0);
        xvfb.terminate();
        xvfb.waitForFinished(5000);
    }
    Clock::install(nullptr);
}

TEST_F(HotkeyMonitorX11, WithoutX11ItSaysSoOnceAndGivesUp) {
    ManualClock clock;
    Clock::install(&clock);
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    static QStringList warnings;
    auto previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
            if (type == QtWarningMsg) warnings.append(m);
        });
    {
        HotkeyMonitor first(std::make_shared<XInputKeySource>());
        first.start();
        HotkeyMonitor second(std::make_shared<XInputKeySource>());
        second.start();
        for (HotkeyMonitor* m : {&first, &second}) {
            EXPECT_FALSE(m->isRunning());
            ASSERT_TRUE(m->lastError());
            EXPECT_EQ(m->lastError()->kind(), DesktopError::Kind::noX11);
        }
        EXPECT_EQ(clock.pendingTimers(), 0);
        EXPECT_TRUE(first.lastError()->message().contains("X11"));
    }
    qInstallMessageHandler(previous);
    qputenv("DISPLAY", display);
    Clock::install(nullptr);
    EXPECT_EQ(warnings.filter("X11").size(), 1) << warnings.join('\n').toStdString();
}

} // namespace
