#pragma once

namespace nolvea {

// One loaded interface sound.
class SystemSound {
public:
    virtual ~SystemSound() = default;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // 0 … 1.
    virtual void setVolume(float volume) = 0;
};

} // namespace nolvea
