#include "agent/tools/ScreenTools.h"

#include "agent/ToolError.h"
#include "core/AppSettings.h"
#include "platform/DesktopError.h"
#include "platform/Platform.h"
#include "platform/ScreenGrabber.h"
#include "platform/linux/X11ScreenGrabber.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace nolvea;
using test::HttpResponse;

namespace {

class ScreenToolX11 : public ::testing::Test {
protected:
    void SetUp() override {
        Platform::install<ScreenGrabber>(std::make_shared<X11ScreenGrabber>());
        AppSettings& settings = AppSettings::shared();
        settings.setAiProvider(AIProvider::lmStudio);
        settings.setServerURL(server.url());
        settings.setModel("visao");
    }
    void TearDown() override { Platform::uninstall<ScreenGrabber>(); }

    test::LoopbackServer server;
};

TEST_F(ScreenToolX11, AsksTheModelAboutTheScreenInOneSeparateRequest) {
    server.enqueue("POST", "/v1/chat/completions",
                   HttpResponse::json(
                       R"({"choices":[{"message":{"role":"assistant","content":"Um erro."}}]})"));
    JSONValue::Object args{{"question", JSONValue("Que erro aparece?")}};
    EXPECT_EQ(test::await(ScreenTools::lookAtScreen().run(JSONValue(args))), "Um erro.");

    const JSONValue body = *JSONValue::parse(server.lastRequest().body);
    EXPECT_EQ(body["temperature"], JSONValue::number(0.2));
    EXPECT_FALSE(body["tools"]);
    EXPECT_FALSE(body["max_tokens"]);
    const auto& messages = body["messages"]->asArray();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0]["content"],
              JSONValue("Você descreve capturas de tela com precisão, em português, de forma "
                        "objetiva."));
    const auto& parts = messages[1]["content"]->asArray();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0]["text"], JSONValue("Que erro aparece?"));
    const QString url = *(*parts[1]["image_url"])["url"]->asString();
    ASSERT_TRUE(url.startsWith("data:image/png;base64,"));
    const QImage image = QImage::fromData(QByteArray::fromBase64(url.mid(22).toLatin1()), "PNG");
    EXPECT_EQ(image.size(), QSize(1280, 720));
}

TEST_F(ScreenToolX11, AMissingQuestionFailsBeforeAnyCapture) {
    try {
        test::await(ScreenTools::lookAtScreen().run(JSONValue(JSONValue::Object{})));
        ADD_FAILURE() << "no error";
    } catch (const ToolError& e) {
        EXPECT_EQ(e.kind(), ToolError::Kind::missing);
        EXPECT_EQ(e.payload(), "question");
    }
    EXPECT_EQ(server.count("/v1/chat/completions"), 0);
}

TEST_F(ScreenToolX11, NoScreenToGrabIsTheToolsFailureWithTheReason) {
    Platform::uninstall<ScreenGrabber>();
    try {
        test::await(ScreenTools::lookAtScreen().run(
            JSONValue::object({{"question", "O que há na tela?"}})));
        ADD_FAILURE() << "no error";
    } catch (const ToolError& e) {
        EXPECT_EQ(e.kind(), ToolError::Kind::failed);
        EXPECT_EQ(e.message(), DesktopError(DesktopError::Kind::noX11).message());
    }
    EXPECT_EQ(server.count("/v1/chat/completions"), 0);
}

} // namespace
