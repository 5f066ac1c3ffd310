#include "input/HotkeyMonitor.h"
#include "platform/DesktopError.h"
#include "platform/linux/XInputKeySource.h"
#include "support/Async.h"
#include "support/X11Keys.h"

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
