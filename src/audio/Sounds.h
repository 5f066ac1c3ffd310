#pragma once

#include <QString>

namespace nolvea {

// The short sounds of the voice cycle.
class Sounds {
public:
    enum class Cue { start, stop, success, failure, cancel };

    // The named sound a cue plays and its volume.
    static QString soundName(Cue cue);
    static float volume(Cue cue);

    // Main thread. Plays the cue from the start (a cue still playing restarts), unless the
    // settings turn sounds off or the host has no such sound.
    static void play(Cue cue);
    // Forgets the loaded sounds (the sound library was replaced).
    static void forget();
};

} // namespace nolvea
