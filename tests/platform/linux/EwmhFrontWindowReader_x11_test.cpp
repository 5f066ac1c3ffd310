// Bringing an application back to the front, on a bare display and under a real window
// manager.
#include "platform/linux/EwmhFrontWindowReader.h"
#include "support/Async.h"
#include "support/FrontApp.h"
#include "support/X11Keys.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <memory>

using namespace nolvea;
using namespace nolvea::test;

namespace {

QByteArray rootProperty(const char* name) {
    QProcess xprop;
    xprop.start("xprop", {"-root", name});
    xprop.waitForFinished();
    return xprop.readAllStandardOutput();
}

void removeRootProperty(const char* name) {
    QProcess::execute("xprop", {"-root", "-remove", name});
}

// Openbox on the test display for one scope. Whatever it leaves on the root window is removed
// afterwards, so that the next test finds a bare display again.
class WindowManager {
public:
    WindowManager() {
        m_process.start("openbox", {"--sm-disable"});
        m_running = m_process.waitForStarted() && spinUntil([] {
                        return rootProperty("_NET_SUPPORTING_WM_CHECK").contains("window id");
                    });
    }
    ~WindowManager() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) m_process.kill();
        m_process.waitForFinished();
        for (const char* name : {"_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW",
                                 "_NET_CLIENT_LIST", "_NET_CLIENT_LIST_STACKING", "_NET_SUPPORTED"})
            removeRootProperty(name);
    }
    bool isRunning() const { return m_running; }

private:
    QProcess m_process;
    bool m_running = false;
};

// A process that existed and is gone: no window can belong to it.
qint32 goneProcess() {
    QProcess p;
    p.start("true", {});
    p.waitForStarted();
    const qint32 pid = qint32(p.processId());
    p.waitForFinished();
    return pid;
}

class BringToFront : public ::testing::TestWithParam<bool> {};

TEST_P(BringToFront, BringsAnApplicationBackWithTheFocus) {
    std::unique_ptr<WindowManager> manager;
    if (GetParam()) {
        manager = std::make_unique<WindowManager>();
        ASSERT_TRUE(manager->isRunning());
    }
    EwmhFrontWindowReader reader;
    FrontApp first({.windowClass = "NolveaPrimeira", .title = "Primeira"});
    FrontApp second({.windowClass = "NolveaSegunda",
                     .title = "Segunda",
                     .color = "#a04020",
                     .geometry = {150, 150, 400, 200}});
    ASSERT_TRUE(first.isReady() && second.isReady());
    const auto frontProcess = [&] {
        auto front = reader.frontWindow();
        return front ? front->processID : 0;
    };
    second.focus();
    ASSERT_TRUE(spinUntil([&] { return frontProcess() == second.pid(); }));

    // The window holds the keyboard focus as soon as the call returns: a key typed at once
    // reaches it.
    EXPECT_TRUE(reader.bringToFront(first.pid()));
    EXPECT_EQ(frontProcess(), first.pid());
    EXPECT_EQ(reader.frontWindow()->windowClass, "NolveaPrimeira");
    ASSERT_TRUE(X11Keys::tap("x"));
    EXPECT_TRUE(spinUntil([&] { return first.text() == "x"; })) << first.text().toStdString();
    EXPECT_EQ(second.text(), "");

    // Already in front: nothing to do.
    EXPECT_TRUE(reader.bringToFront(first.pid()));
    EXPECT_EQ(frontProcess(), first.pid());

    // No such application: the front stays as it is.
    for (qint32 pid : {0, -1, goneProcess()}) {
        EXPECT_FALSE(reader.bringToFront(pid)) << pid;
        EXPECT_EQ(frontProcess(), first.pid()) << pid;
    }
}

INSTANTIATE_TEST_SUITE_P(EwmhFrontWindowReaderX11, BringToFront, ::testing::Bool(),
                         [](const auto& info) {
                             return info.param ? "UnderAWindowManager" : "OnABareDisplay";
                         });

} // namespace
