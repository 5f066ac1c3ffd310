#pragma once

#include "ai/ChatMessage.h"

#include <QDateTime>

#include <vector>

namespace nolvea {

// The agent's short-term memory: the messages of the last few turns, offered to the next run
// while the conversation is fresh. Time comes from `Clock::shared()`.
struct Conversation {
    static constexpr int kFreshSeconds = 300;
    static constexpr std::size_t kTurnsKept = 4;
    static constexpr qsizetype kToolResultCap = 2500; // user-perceived characters

    std::vector<std::vector<ChatMessage>> turns{}; // oldest first
    QDateTime lastActivity = distantPast();

    // Every stored message, oldest turn first; empty once 300 s have passed since the last turn.
    std::vector<ChatMessage> history() const;
    // Stores one finished turn, with long tool results cut; an expired conversation starts over.
    void append(const std::vector<ChatMessage>& turn);

    static QDateTime distantPast();

    // Less than 300 s since the last turn.
    bool isFresh() const;
};

} // namespace nolvea
