#pragma once

#include "ai/LLMClient.h"
#include "support/LoopbackServer.h"
#include "support/json/JSONValue.h"

#include <QStringList>

#include <vector>

namespace nolvea::test {

// A chat model on the loopback server that answers from a script of OpenAI-style replies.
class ScriptedModel {
public:
    struct Call {
        QString id;
        QString name;
        QString arguments; // JSON text, as the model writes it
    };

    ScriptedModel();

    LLMClient client() const;
    // Queues one reply: optional text and tool calls.
    void reply(const QString& text, const std::vector<Call>& calls = {});
    void fail(int status, const QByteArray& body = "{}");
    // Queues a reply that comes only after `ms`.
    void replyLate(const QString& text, int ms);

    int calls() const;
    // The "messages" of the n-th request.
    JSONValue::Array messages(int n) const;
    JSONValue request(int n) const;

    LoopbackServer server;

    static QByteArray body(const QString& text, const std::vector<Call>& calls);
};

} // namespace nolvea::test
