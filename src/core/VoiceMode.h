#pragma once

namespace nolvea {

// What a voice cycle does with the speech: type it, or hand it to the agent.
enum class VoiceMode { dictation, agent };

} // namespace nolvea
