#include "system/ScreenContextReader.h"

#include "platform/AccessibilityReader.h"
#include "platform/FrontWindowReader.h"
#include "platform/Platform.h"
#include "platform/linux/AtspiAccessibilityReader.h"
#include "platform/linux/EwmhFrontWindowReader.h"
#include "support/Async.h"
#include "support/FrontApp.h"

#include <gtest/gtest.h>

using namespace nolvea;
using namespace nolvea::test;

namespace {

class ScreenContextReaderX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (!AtspiAccessibilityReader::busRuns()) GTEST_SKIP() << "no accessibility bus";
        Platform::install<FrontWindowReader>(std::make_shared<EwmhFrontWindowReader>());
        Platform::install<AccessibilityReader>(std::make_shared<AtspiAccessibilityReader>());
    }
    void TearDown() override {
        AtspiAccessibilityReader::setEnabled(false);
        Platform::uninstall<FrontWindowReader>();
        Platform::uninstall<AccessibilityReader>();
    }

    // Brings the application to the front and waits until a snapshot names it.
    void bringToFront(FrontApp& app) {
        ASSERT_TRUE(app.isReady());
        app.focus();
        ASSERT_TRUE(
            spinUntil([&] { return ScreenContextReader::capture().processID == app.pid(); }));
    }
};

TEST_F(ScreenContextReaderX11, WithoutAccessibilityOnlyTheApplicationIsKnown) {
    ASSERT_TRUE(AtspiAccessibilityReader::setEnabled(false));
    FrontApp app({.windowClass = "NolveaSlackTeste", .title = "Conversa — equipe"});
    bringToFront(app);
    app.setText("olá mundo");
    app.select(4, 5);
    const ScreenContext context = ScreenContextReader::capture();
    EXPECT_EQ(context.appName, "NolveaSlackTeste");
    EXPECT_EQ(context.bundleID, "NolveaSlackTeste");
    EXPECT_EQ(context.processID, app.pid());
    EXPECT_EQ(context.windowTitle, "");
    EXPECT_EQ(context.selectedText, "");
    EXPECT_EQ(context.textBeforeCursor, "");
    EXPECT_EQ(context.appKind(), "chat (tom conversacional)");
}

TEST_F(ScreenContextReaderX11, TheFocusedFieldGivesTheSelectionAndTheTextBeforeIt) {
    ASSERT_TRUE(AtspiAccessibilityReader::setEnabled(true));
    FrontApp app({.windowClass = "NolveaNotesTeste", .title = "Notas — ação"});
    bringToFront(app);

    const QString thousand = QString("0123456789").repeated(100);
    const QString emoji = QString::fromUtf8("😀😀ab");
    struct Case {
        const char* name;
        QString text;
        int start;
        int length; // 0: only the caret
        QString selected;
        QString before;
    };
    const QList<Case> cases{
        {"a selection", "Olá mundo, tudo bem?", 4, 5, "mundo", QString::fromUtf8("Olá ")},
        {"the caret at the start", "abc", 0, 0, "", ""},
        {"the caret at the end", "abc", 3, 0, "", "abc"},
        {"a thousand characters before the caret", thousand, 1000, 0, "", thousand.right(300)},
        {"a long selection stays whole", thousand + "x", 0, 1000, thousand, ""},
        {"characters outside the basic plane count twice", emoji + "cd", 4, 0, "", emoji},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.setText(c.text);
        if (c.length > 0)
            app.select(c.start, c.length);
        else
            app.setCaret(c.start);
        ScreenContext context;
        EXPECT_TRUE(spinUntil(
            [&] {
                context = ScreenContextReader::capture();
                return context.selectedText == c.selected && context.textBeforeCursor == c.before;
            },
            5000))
            << context.selectedText.toStdString() << " | "
            << context.textBeforeCursor.toStdString();
        EXPECT_EQ(context.windowTitle, QString::fromUtf8("Notas — ação"));
        EXPECT_EQ(context.bundleID, "NolveaNotesTeste");
        EXPECT_EQ(context.processID, app.pid());
        EXPECT_EQ(context.appKind(), "documento/notas");
    }
}

TEST_F(ScreenContextReaderX11, WithoutX11TheSnapshotIsEmpty) {
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    Platform::install<FrontWindowReader>(std::make_shared<EwmhFrontWindowReader>());
    const ScreenContext context = ScreenContextReader::capture();
    qputenv("DISPLAY", display);
    EXPECT_EQ(context.processID, 0);
    EXPECT_EQ(context.appName, "");
    EXPECT_EQ(context.windowTitle, "");
}

} // namespace
