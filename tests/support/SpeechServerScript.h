#pragma once

#include <QByteArray>
#include <QString>

namespace nolvea::test {

// A stand-in for the neural speech server's launcher: an executable `uvx` in
// $HOME/.local/bin that records its arguments and, by `mode`, serves the server's protocol
// (GET "/" 200, POST "/v1/audio/speech" → WAV spoken by espeak-ng) on the port it is given,
// exits at once, or runs without ever answering.
class SpeechServerScript {
public:
    enum class Mode { serve, exitAtOnce, hang };

    static void install(Mode mode);
    static void remove();
    // The arguments of each launch, one launch a line, separated by blanks.
    static QStringList launches();
    // A free TCP port on the loopback address.
    static quint16 freePort();
    // WAV audio of `text` made by espeak-ng.
    static QByteArray espeakWav(const QString& text);
};

} // namespace nolvea::test
