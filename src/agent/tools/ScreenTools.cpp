#include "agent/tools/ScreenTools.h"

#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "agent/tools/ToolKit.h"
#include "ai/LLMClient.h"
#include "support/json/Schema.h"
#include "system/ScreenCapture.h"
#include "system/ScreenCaptureError.h"

namespace nolvea::ScreenTools {

using namespace ToolKit;

namespace {

QCoro::Task<QString> answer(JSONValue arguments) {
    const QString question = requiredArgument(arguments, QStringLiteral("question"));
    QByteArray png;
    try {
        png = co_await ScreenCapture::pngUnderMouse(1280);
    } catch (const ScreenCaptureError& e) {
        throw ToolError::failed(e.message());
    }
    const LLMClient client = LLMClient::fromSettings();
    const ChatMessage reply =
        co_await client.chat(messages(question, png), std::nullopt, 0.2, std::nullopt, 120);
    co_return reply.text();
}

} // namespace

std::vector<ChatMessage> messages(const QString& question, const QByteArray& png) {
    const ChatMessage system = ChatMessage::ofText(
        QStringLiteral("system"),
        QStringLiteral(
            "Você descreve capturas de tela com precisão, em português, de forma objetiva."));
    ContentPart text;
    text.type = QStringLiteral("text");
    text.text = question;
    ContentPart image;
    image.type = QStringLiteral("image_url");
    image.imageURL = ContentPart::ImageURL{QStringLiteral("data:image/png;base64,") +
                                           QString::fromLatin1(png.toBase64())};
    ChatMessage user;
    user.role = QStringLiteral("user");
    user.content = MessageContent::parts({text, image});
    return {system, user};
}

const AgentTool& lookAtScreen() {
    static const AgentTool tool{
        .name = "look_at_screen",
        .description =
            "Olha a tela onde está o mouse e responde uma pergunta sobre o que aparece nela (o que "
            "a pessoa está vendo, um erro, um gráfico, uma imagem).",
        .parameters =
            Schema::object({{"question", Schema::string("O que descobrir na tela")}}, {"question"}),
        .kind = AgentTool::Kind::read,
        .symbol = "eye",
        .progress = "Olhando a tela…",
        .group = "Tela",
        .preview =
            [](const JSONValue& args) {
                return preview("eye", "Olhar a tela", {ToolKit::text(args, "question")});
            },
        .run = answer,
    };
    return tool;
}

} // namespace nolvea::ScreenTools
