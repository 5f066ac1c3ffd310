// The text tools paste into the application the request was made in, even when the person
// went to another window meanwhile.
#include "agent/tools/TextTools.h"
#include "platform/linux/EwmhFrontWindowReader.h"
#include "support/Async.h"
#include "support/FrontApp.h"
#include "support/PasteDesktop.h"
#include "support/ToolCalls.h"
#include "support/fakes/ManualClock.h"

#include <gtest/gtest.h>

using namespace nolvea;
using namespace nolvea::test;

namespace {

class TextToolsX11 : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(target.isReady() && other.isReady()); }

    // The person is in the other window now.
    void goElsewhere() { ASSERT_TRUE(desktop.bringToFront(other)); }

    // Runs the tool to its end: the paste, then the clipboard put back.
    QString run(const AgentTool& tool, const char* arguments, const QString& expected) {
        auto task = tool.run(args(arguments));
        EXPECT_TRUE(spinUntil([&] { return target.text() == expected; }))
            << target.text().toStdString();
        clock.advance(std::chrono::milliseconds(400));
        return await(std::move(task));
    }

    PasteDesktop desktop;
    ManualClock& clock = desktop.clock;
    std::shared_ptr<EwmhFrontWindowReader>& reader = desktop.reader;
    FrontApp target{{.windowClass = "NolveaAlvo", .title = "Alvo"}};
    FrontApp other{{.windowClass = "NolveaOutra",
                    .title = "Outra",
                    .color = "#a04020",
                    .geometry = {150, 150, 400, 200}}};
};

TEST_F(TextToolsX11, InsertTextGoesBackToTheApplicationOfTheRequest) {
    target.setText("Bom dia");
    target.setCaret(7);
    target.focus();
    ScreenContext context;
    context.processID = target.pid();
    context.textBeforeCursor = "Bom dia";
    goElsewhere();

    EXPECT_EQ(run(TextTools::insertText(context), R"({"text":"a todos"})", "Bom dia a todos"),
              "Texto inserido.");
    EXPECT_EQ(other.text(), "");
    EXPECT_EQ(reader->frontWindow()->processID, target.pid());
}

TEST_F(TextToolsX11, ReplaceSelectionGoesBackToTheApplicationOfTheRequest) {
    target.setText("texto velho");
    target.focus();
    target.select(6, 5);
    ScreenContext context;
    context.processID = target.pid();
    context.selectedText = "velho";
    goElsewhere();

    EXPECT_EQ(run(TextTools::replaceSelection(context), R"({"text":"novo"})", "texto novo"),
              "Seleção substituída.");
    EXPECT_EQ(other.text(), "");
}

} // namespace
