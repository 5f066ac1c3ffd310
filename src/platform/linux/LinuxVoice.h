#pragma once

#include <QString>

// Installs the Linux layers of the voice pipeline in the platform registry: microphone capture
// and audio playback through Qt Multimedia, speech recognition through whisper or pocketsphinx
// (per locale), the bundled interface sounds and the desktop's speech synthesizer. Pocketsphinx
// models are looked up in `speechModels`, then in the system's folder; whisper models in the
// folder "whisper" beside `speechModels`. Main thread, once at start.
namespace nolvea::LinuxVoice {

void install(const QString& speechModels);

} // namespace nolvea::LinuxVoice
