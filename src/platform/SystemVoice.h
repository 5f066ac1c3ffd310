#pragma once

#include <QString>

#include <functional>

namespace nolvea {

// The desktop's own speech synthesizer. Main thread.
class SystemVoice {
public:
    virtual ~SystemVoice() = default;
    // Speaks `text` with the voice named `voiceID` (the default voice for Brazilian Portuguese
    // when empty or unknown) at `rate` (1 is the normal pace). `done` runs once on the main
    // thread when the speech ends, fails or is stopped.
    virtual void speak(const QString& text, const QString& voiceID, double rate,
                       std::function<void()> done) = 0;
    virtual void stop() = 0;
    virtual bool isSpeaking() const = 0;
};

} // namespace nolvea
