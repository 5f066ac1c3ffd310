#pragma once

#include "platform/SystemSound.h"

#include <QString>

#include <memory>

namespace nolvea {

// The named interface sounds the host offers.
class SoundLibrary {
public:
    virtual ~SoundLibrary() = default;
    // The sound of that name, or nullptr when there is none.
    virtual std::shared_ptr<SystemSound> load(const QString& name) = 0;
};

} // namespace nolvea
