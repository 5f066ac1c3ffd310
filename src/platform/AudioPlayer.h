#pragma once

#include <QByteArray>

#include <functional>

namespace nolvea {

// Plays WAV audio through the default output. Main thread.
class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;
    // Starts playing `wav` (replacing what plays); `finished` runs on the main thread when
    // all of it has played, not when it is stopped. False when the data is not playable WAV.
    virtual bool play(const QByteArray& wav, std::function<void()> finished) = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // 0 … 1.
    virtual void setVolume(float volume) = 0;
};

} // namespace nolvea
