#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace nolvea {

// The desktop's own speech synthesizer. Main thread.
class SystemVoice {
public:
    enum class Quality { compact, enhanced, premium };
    struct Voice {
        QString identifier; // what `speak` takes
        QString name;
        Quality quality = Quality::compact;
        bool operator==(const Voice&) const = default;
    };

    virtual ~SystemVoice() = default;
    // The installed voices of the locale `localeID` (such as "pt-BR"), best first.
    virtual std::vector<Voice> voices(const QString& localeID) { return {}; }
    // Speaks `text` with the voice whose identifier is `voiceID` (the best voice for Brazilian
    // Portuguese when empty or unknown) at `rate` (1 is the normal pace). `done` runs once on the
    // main thread when the speech ends, fails or is stopped.
    virtual void speak(const QString& text, const QString& voiceID, double rate,
                       std::function<void()> done) = 0;
    virtual void stop() = 0;
    virtual bool isSpeaking() const = 0;
};

} // namespace nolvea
