// Bringing an application back to the front, on a bare display and under a real window
// manager.
#include "platform/linux/EwmhFrontWindowReader.h"
#include "support/Async.h"
#include "support/DesktopFixture.h"
#include "support/FrontApp.h"
#include "support/WindowManager.h"
#include "support/X11Keys.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <memory>

using namespace nolvea;
using namespace nolvea::test;

namespace {

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

namespace {

QString saveSquare(const QString& path, int side, const QColor& color) {
    QDir().mkpath(QFileInfo(path).path());
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(color);
    image.save(path);
    return path;
}

// The icon of an application: the one its window shows, else that of its desktop entry, found
// by the window's class.
TEST(ApplicationIcon, ComesFromTheWindowElseFromTheDesktopEntry) {
    DesktopFixture desktop;
    const QString theme = qEnvironmentVariable("XDG_DATA_HOME") + "/icons/hicolor";
    saveSquare(theme + "/16x16/apps/nolvea-tema.png", 16, Qt::red);
    saveSquare(theme + "/48x48/apps/nolvea-tema.png", 48, Qt::blue);
    desktop.addApp("nolvea-tema.desktop", "Tema", "%1",
                   {"Icon=nolvea-tema", "StartupWMClass=NolveaTema"});
    const QString file = saveSquare(desktop.root() + "/arquivo.png", 24, Qt::yellow);
    desktop.addApp("org.exemplo.NolveaArquivo.desktop", "Arquivo", "%1", {"Icon=" + file});
    desktop.addApp("nolvea-perdido.desktop", "Perdido", "%1",
                   {"Icon=nolvea-inexistente", "StartupWMClass=NolveaPerdido"});

    struct Case {
        const char* name;
        QString windowClass;
        QString windowIcon;
        int side; // 0: no icon
        QColor color;
    };
    const QList<Case> cases{
        {"the window's own icon, its largest size", "NolveaTema", "#ff00ff", 64, "#ff00ff"},
        {"a theme icon, its largest size, by the entry's window class",
         "NolveaTema",
         {},
         48,
         Qt::blue},
        {"a file, by the last part of the entry's name", "NolveaArquivo", {}, 24, Qt::yellow},
        {"an entry whose icon is nowhere", "NolveaPerdido", {}, 0, {}},
        {"no entry", "NolveaSemEntrada", {}, 0, {}},
    };
    EwmhFrontWindowReader reader;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrontApp app({.windowClass = c.windowClass, .iconColor = c.windowIcon});
        ASSERT_TRUE(app.isReady());
        const QVariant icon = reader.applicationIcon(app.pid());
        if (c.side == 0) {
            EXPECT_FALSE(icon.isValid());
            continue;
        }
        ASSERT_TRUE(icon.canConvert<QImage>());
        const QImage image = icon.value<QImage>();
        EXPECT_EQ(image.size(), QSize(c.side, c.side));
        EXPECT_EQ(image.pixelColor(c.side / 2, c.side / 2), c.color);
    }
    EXPECT_FALSE(reader.applicationIcon(goneProcess()).isValid());
    EXPECT_FALSE(reader.applicationIcon(0).isValid());
}

} // namespace
