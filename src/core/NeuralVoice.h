#pragma once

#include "support/RawEnum.h"

namespace nolvea {

// The voices of the neural speech server.
enum class NeuralVoice { kokoroAlex, kokoroDora, voxtralMale, voxtralFemale, qwenJarvis };

template <> struct RawNames<NeuralVoice> {
    static constexpr std::array<std::string_view, 5> names{
        "kokoroAlex", "kokoroDora", "voxtralMale", "voxtralFemale", "qwenJarvis"};
};

} // namespace nolvea
