#pragma once

#include "platform/AudioBuffer.h"
#include "platform/SpeechResult.h"

#include <QStringList>

#include <vector>

namespace nolvea {

// One speech-to-text run over a stream of audio. Used by one thread at a time.
class SpeechRecognizer {
public:
    virtual ~SpeechRecognizer() = default;

    // The audio format it takes; invalid when it has none.
    virtual AudioFormat format() const = 0;
    // Makes these words or phrases likelier where the recognizer can; false when it could
    // use none of them.
    virtual bool setVocabulary(const QStringList& words) = 0;
    // Throws `SpeechEngineError`.
    virtual void start() = 0;
    // Takes audio in `format()`; appends what it recognised so far.
    virtual void process(const AudioBuffer& buffer, std::vector<SpeechResult>& results) = 0;
    // The input is complete: appends the last final results. Throws `SpeechEngineError`.
    virtual void finish(std::vector<SpeechResult>& results) = 0;
};

} // namespace nolvea
