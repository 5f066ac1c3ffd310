#pragma once

#include "core/AppState.h"

#include <QMargins>
#include <QString>

#include <chrono>
#include <optional>

namespace nolvea {

// What of the live state the pill shows.
struct PillInputs {
    AppState::Stage stage = AppState::Stage::idle;
    VoiceMode mode = VoiceMode::dictation;
    bool handsFree = false;
    QString liveText;
    QString statusText;
    bool hasPendingAction = false;
    bool pendingHasEmail = false;

    static PillInputs of(const AppState& state);
};

enum class PillContent { none, listening, processing, success, error, confirm, answer };

// The pill at one stage: which content, the capsule's size rules and what shows around it.
struct PillPresentation {
    static constexpr int kCapsuleHeight = 46;
    static constexpr int kBubbleCharacters = 120;

    bool showsGroup = false; // nothing at all is drawn at idle
    PillContent content = PillContent::none;
    std::optional<int> width;  // fixed width; otherwise the content's own
    std::optional<int> height; // fixed height; otherwise the content's own
    QMargins padding;
    int radius = 23;
    double shadowOpacity = 0;
    std::optional<QString> bubbleText;
    bool bubbleSecondary = false;
    bool showsAgentDrop = false;
    bool agentDropPulses = false;
    bool showsLockDrop = false;
    QString text;   // the processing or result line
    QString symbol; // the result symbol

    bool operator==(const PillPresentation&) const = default;

    static PillPresentation of(const PillInputs& in);
    // The newest words of a live text: its last 120 characters.
    static QString bubbleTail(const QString& text);
    // A timer counting up: "0:07", "12:34", "1:02:03" once an hour is reached.
    static QString timerText(std::chrono::milliseconds elapsed);
};

} // namespace nolvea
