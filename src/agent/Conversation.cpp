#include "agent/Conversation.h"

#include "support/Clock.h"
#include "support/Graphemes.h"

namespace nolvea {

QDateTime Conversation::distantPast() {
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
}

bool Conversation::isFresh() const {
    return lastActivity.msecsTo(Clock::shared().now()) < qint64(kFreshSeconds) * 1000;
}

std::vector<ChatMessage> Conversation::history() const {
    std::vector<ChatMessage> messages;
    if (turns.empty() || !isFresh()) return messages;
    for (const auto& turn : turns)
        messages.insert(messages.end(), turn.begin(), turn.end());
    return messages;
}

void Conversation::append(const std::vector<ChatMessage>& turn) {
    if (!turns.empty() && !isFresh()) turns.clear();
    std::vector<ChatMessage> stored;
    stored.reserve(turn.size());
    for (const auto& message : turn) {
        ChatMessage copy = message;
        if (copy.role == QLatin1String("tool")) {
            const QString text = copy.text();
            if (Graphemes::count(text) > kToolResultCap)
                copy.content = MessageContent::text(Graphemes::first(text, kToolResultCap) +
                                                    QStringLiteral("\n…(resultado cortado)"));
        }
        stored.push_back(std::move(copy));
    }
    turns.push_back(std::move(stored));
    if (turns.size() > kTurnsKept)
        turns.erase(turns.begin(), turns.end() - std::ptrdiff_t(kTurnsKept));
    lastActivity = Clock::shared().now();
}

} // namespace nolvea
