#pragma once

#include <QString>

namespace nolvea::test {

// The test session's PulseAudio microphone: what is played into its sink is recorded from
// the default source.
class VirtualMicrophone {
public:
    // Whether the session has one (PULSE_SERVER and the sink are set).
    static bool isAvailable();
    // Plays 16 kHz mono 16-bit raw audio into the microphone; returns at once. The player
    // runs until the audio ends.
    static bool play(const QString& rawFile);
    // The same, waiting until the whole recording has been played.
    static bool playAndWait(const QString& rawFile);
};

} // namespace nolvea::test
