#pragma once

#include <QString>

namespace nolvea {

// How one voice interaction ended, with the line shown for it.
struct VoiceOutcome {
    enum class Kind { success, error, cancelled };
    Kind kind;
    QString text;
    static VoiceOutcome success(QString text) { return {Kind::success, std::move(text)}; }
    static VoiceOutcome error(QString text) { return {Kind::error, std::move(text)}; }
    static VoiceOutcome cancelled() { return {Kind::cancelled, {}}; }
};

} // namespace nolvea
