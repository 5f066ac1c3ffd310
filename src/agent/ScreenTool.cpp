#include "agent/ScreenTool.h"

#include "ai/LLMClient.h"
#include "system/ScreenCapture.h"

namespace nolvea::ScreenTool {

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

QCoro::Task<QString> run(JSONValue arguments) {
    const QString question = arguments.required(QStringLiteral("question"));
    const QByteArray png = co_await ScreenCapture::pngUnderMouse(1280);
    const LLMClient client = LLMClient::fromSettings();
    const ChatMessage reply =
        co_await client.chat(messages(question, png), std::nullopt, 0.2, std::nullopt, 120);
    co_return reply.text();
}

} // namespace nolvea::ScreenTool
