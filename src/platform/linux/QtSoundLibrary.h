#pragma once

#include "platform/SoundLibrary.h"

namespace nolvea {

// The interface sounds bundled in share/nolvea/sounds (<name>.wav), played through the default
// output.
class QtSoundLibrary final : public SoundLibrary {
public:
    // Without a folder: share/nolvea/sounds beside the program, else in the source tree.
    explicit QtSoundLibrary(QString folder = {});

    std::shared_ptr<SystemSound> load(const QString& name) override;
    QString folder() const { return m_folder; }

private:
    QString m_folder;
};

} // namespace nolvea
