#include "ai/ClaudeTurn.h"

#include "ai/AccountBridge.h"
#include "ai/BridgeReply.h"
#include "ai/BridgeRunner.h"
#include "support/AtomicFile.h"
#include "support/PrivateTempDir.h"
#include "support/json/JSONValue.h"

#include <QFile>

namespace nolvea {

namespace {

using BridgeError = AccountBridge::BridgeError;
constexpr auto cli = AccountBridge::CLI::claude;

bool saysSignedOut(const QString& text) {
    return text.contains(QStringLiteral("not logged in"), Qt::CaseInsensitive);
}

} // namespace

QStringList ClaudeTurn::arguments(const QString& model, const QString& systemFile,
                                  bool toolsOffered) {
    QStringList args{QStringLiteral("-p"),
                     QStringLiteral("--input-format"),
                     QStringLiteral("stream-json"),
                     QStringLiteral("--output-format"),
                     QStringLiteral("stream-json"),
                     QStringLiteral("--verbose"),
                     QStringLiteral("--tools"),
                     QString(),
                     QStringLiteral("--strict-mcp-config"),
                     QStringLiteral("--no-session-persistence"),
                     QStringLiteral("--setting-sources"),
                     QString(),
                     QStringLiteral("--model"),
                     model,
                     QStringLiteral("--system-prompt-file"),
                     systemFile};
    if (toolsOffered) args << QStringLiteral("--json-schema") << BridgeReply::schema();
    return args;
}

QByteArray ClaudeTurn::input(const BridgePrompt& prompt) {
    JSONValue::Array content{JSONValue::object(
        {{QStringLiteral("type"), "text"}, {QStringLiteral("text"), prompt.historyText}})};
    for (const QByteArray& image : prompt.images) {
        content.push_back(JSONValue::object(
            {{QStringLiteral("type"), "image"},
             {QStringLiteral("source"),
              JSONValue::object(
                  {{QStringLiteral("type"), "base64"},
                   {QStringLiteral("media_type"), "image/png"},
                   {QStringLiteral("data"), QString::fromLatin1(image.toBase64())}})}}));
    }
    const JSONValue line = JSONValue::object(
        {{QStringLiteral("type"), "user"},
         {QStringLiteral("message"), JSONValue::object({{QStringLiteral("role"), "user"},
                                                        {QStringLiteral("content"), content}})}});
    return line.compactBytes() + '\n';
}

QCoro::Task<BridgeOutput> ClaudeTurn::run(QString executable, QString model, BridgePrompt prompt,
                                          double timeout) {
    // The system text may hold what is on the screen: never on the command line, where every
    // local user can read it.
    PrivateTempDir folder(QStringLiteral("nolvea-claude"));
    if (!folder.isValid())
        throw BridgeError::failed(cli, QStringLiteral("não foi possível criar a pasta temporária"));
    const QString systemFile = folder.filePath(QStringLiteral("sistema.txt"));
    if (AtomicFile::write(systemFile, prompt.systemText.toUtf8(), AtomicFile::Access::Private))
        throw BridgeError::failed(cli, QStringLiteral("não foi possível gravar as instruções"));

    const BridgeRun run = co_await BridgeRunner::run(
        executable, arguments(model, systemFile, prompt.toolsOffered), cli, input(prompt), timeout);

    co_return output(run);
}

BridgeOutput ClaudeTurn::output(const BridgeRun& run) {
    std::optional<JSONValue> result;
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        std::optional<JSONValue> object = JSONValue::parse(line);
        const JSONValue* type = object ? object->member(QStringLiteral("type")) : nullptr;
        if (type && type->asString() == QStringLiteral("result"))
            result = std::move(object); // the last one wins
    }

    if (!result) {
        const QString text = run.errorText();
        if (saysSignedOut(text)) throw BridgeError::notLoggedIn(cli);
        throw BridgeError::failed(cli, text.isEmpty() ? QStringLiteral("sem resposta") : text);
    }
    const JSONValue* isError = result->member(QStringLiteral("is_error"));
    const JSONValue* resultText = result->member(QStringLiteral("result"));
    const QString text = resultText ? resultText->asString().value_or(QString()) : QString();
    if (isError && isError->asBool() == true) {
        if (saysSignedOut(text) || text.contains(QStringLiteral("/login")))
            throw BridgeError::notLoggedIn(cli);
        throw BridgeError::failed(cli, text.isEmpty() ? run.errorText() : text);
    }
    BridgeOutput reply;
    if (const JSONValue* structured = result->member(QStringLiteral("structured_output")))
        reply.structured = structured->compactBytes();
    else
        reply.text = text;
    return reply;
}

} // namespace nolvea
