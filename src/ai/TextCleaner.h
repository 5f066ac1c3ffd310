#pragma once

#include "ai/ChatMessage.h"
#include "ai/LLMClient.h"
#include "system/ScreenContext.h"

#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <vector>

namespace nolvea {

// Rewrites a raw dictation transcript as clean written text through one chat turn, and
// falls back to the transcript when the model's result is empty or far too long.
class TextCleaner {
public:
    explicit TextCleaner(LLMClient client)
        : m_client(std::move(client)) {}

    // The system message; the same in every clean-up and in the warm-up.
    static const std::vector<ChatMessage>& fixedMessages();
    // The six example turns that follow it.
    static const std::vector<ChatMessage>& examples();

    // The cleaned text, or `text` itself when the model's result is rejected. Throws what
    // the chat turn throws.
    QCoro::Task<QString> clean(QString text, ScreenContext context, QStringList vocabulary) const;

    // The final user turn: the context block (when there is anything to say) and the
    // transcript.
    static QString userContent(const QString& text, const ScreenContext& context,
                               const QStringList& vocabulary);
    // The model's reply without echoed tags, the context block and wrapping quotes.
    static QString strip(const QString& reply);
    // The stripped reply, or `text` when it is empty or longer than 2 × `text` + 40.
    static QString accept(const QString& stripped, const QString& text);

private:
    LLMClient m_client;
};

} // namespace nolvea
