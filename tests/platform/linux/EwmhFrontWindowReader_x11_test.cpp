// Bringing an application back to the front on a display without a window manager.
#include "platform/linux/EwmhFrontWindowReader.h"
#include "support/Async.h"
#include "support/FrontApp.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace nolvea;
using namespace nolvea::test;

namespace {

// A process that existed and is gone: no window can belong to it.
qint32 goneProcess() {
    QProcess p;
    p.start("true", {});
    p.waitForFinished();
    return qint32(p.processId() ? p.processId() : 999999);
}

TEST(EwmhFrontWindowReaderX11, BringsAnApplicationBackToTheFrontWithTheFocus) {
    EwmhFrontWindowReader reader;
    FrontApp first({.windowClass = "NolveaPrimeira", .title = "Primeira"});
    FrontApp second({.windowClass = "NolveaSegunda",
                     .title = "Segunda",
                     .color = "#a04020",
                     .geometry = {150, 150, 400, 200}});
    ASSERT_TRUE(first.isReady() && second.isReady());
    first.setText("ola");
    second.focus();
    ASSERT_TRUE(spinUntil([&] {
        auto front = reader.frontWindow();
        return front && front->processID == second.pid();
    }));

    EXPECT_TRUE(reader.bringToFront(first.pid()));
    auto front = reader.frontWindow();
    ASSERT_TRUE(front);
    EXPECT_EQ(front->processID, first.pid());
    EXPECT_EQ(front->windowClass, "NolveaPrimeira");

    // Already in front: nothing to do, and it says so.
    EXPECT_TRUE(reader.bringToFront(first.pid()));
    EXPECT_EQ(reader.frontWindow()->processID, first.pid());

    // No such application: the front stays as it is.
    for (qint32 pid : {0, -1, goneProcess()}) {
        EXPECT_FALSE(reader.bringToFront(pid)) << pid;
        EXPECT_EQ(reader.frontWindow()->processID, first.pid()) << pid;
    }
}

} // namespace
