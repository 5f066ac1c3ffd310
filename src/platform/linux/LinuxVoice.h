#pragma once

// Installs the Linux layers of the voice pipeline in the platform registry: microphone capture
// and audio playback through Qt Multimedia, speech recognition through pocketsphinx, the
// bundled interface sounds and the desktop's speech synthesizer. Main thread, once at start.
namespace nolvea::LinuxVoice {

void install();

} // namespace nolvea::LinuxVoice
