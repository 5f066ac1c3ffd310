// Starting without a usable display: a Portuguese message and status 1 instead of Qt's abort;
// under Wayland a notice of what needs X11.
#include "app/DevRun.h"
#include "app/DisplaySession.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace nolvea;
using namespace nolvea::test;
using Env = DisplaySession::Environment;

namespace {

TEST(DisplaySession, Verdicts) {
    const QString noDisplay = DisplaySession::noDisplayMessage();
    const QString wayland = DisplaySession::waylandNotice();
    struct Case {
        const char* what;
        Env env;
        bool canStart;
        QString message;
        QByteArray platform;
    };
    const Case cases[] = {
        {"X11 session", {":0", "", "x11", "", true, false}, true, "", "xcb"},
        {"nothing at all", {"", "", "", "", false, true}, false, noDisplay, ""},
        {"a tty session", {"", "", "tty", "", false, false}, false, noDisplay, ""},
        {"an X server that is gone",
         {":7", "", "x11", "", false, false},
         false,
         DisplaySession::unreachableMessage(":7"),
         ""},
        {"Wayland with XWayland",
         {":0", "wayland-0", "wayland", "", true, true},
         true,
         wayland,
         "xcb"},
        {"Wayland without XWayland",
         {"", "wayland-0", "wayland", "", false, true},
         true,
         wayland,
         "wayland"},
        {"Wayland without XWayland nor Qt's Wayland plugin",
         {"", "wayland-0", "wayland", "", false, false},
         false,
         noDisplay,
         ""},
        {"xcb asked for under Wayland without XWayland",
         {"", "wayland-0", "wayland", "xcb", false, true},
         false,
         noDisplay,
         ""},
        {"xcb asked for and reachable", {":0", "", "", "xcb", true, false}, true, "", ""},
        {"a platform without a screen chosen on purpose",
         {"", "", "", "offscreen", false, false},
         true,
         "",
         ""},
    };
    for (const Case& c : cases) {
        const auto v = DisplaySession::judge(c.env);
        EXPECT_EQ(v.canStart, c.canStart) << c.what;
        EXPECT_EQ(v.message, c.message) << c.what;
        EXPECT_EQ(v.platform, c.platform) << c.what;
    }
    EXPECT_TRUE(wayland.contains("atalho global") && wayland.contains("colagem"));
}

TEST(DisplaySession, TheProgramSaysSoAndEndsWithStatusOne) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(name);
    const DevRun run = runNolvea({}, env);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains(DisplaySession::noDisplayMessage()))
        << run.errors.toStdString();
    EXPECT_FALSE(run.errors.contains("Reinstalling")) << "Qt never got to abort";

    env.insert("DISPLAY", ":999"); // no such server
    const DevRun gone = runNolvea({}, env);
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(gone.errors.contains(DisplaySession::unreachableMessage(":999")))
        << gone.errors.toStdString();
}

} // namespace
