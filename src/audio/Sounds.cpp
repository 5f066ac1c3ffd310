#include "audio/Sounds.h"

#include "core/AppSettings.h"
#include "platform/Platform.h"
#include "platform/SoundLibrary.h"

#include <QHash>

#include <memory>

namespace nolvea {

namespace {

// Loaded sounds by name; used on the main thread only.
QHash<QString, std::shared_ptr<SystemSound>>& cache() {
    static QHash<QString, std::shared_ptr<SystemSound>> sounds;
    return sounds;
}

} // namespace

QString Sounds::soundName(Cue cue) {
    switch (cue) {
    case Cue::start:
        return QStringLiteral("Tink");
    case Cue::stop:
        return QStringLiteral("Pop");
    case Cue::success:
        return QStringLiteral("Glass");
    case Cue::failure:
        return QStringLiteral("Basso");
    case Cue::cancel:
        return QStringLiteral("Bottle");
    }
    return {};
}

float Sounds::volume(Cue cue) {
    switch (cue) {
    case Cue::start:
    case Cue::stop:
        return 0.25f;
    case Cue::success:
        return 0.18f;
    case Cue::failure:
    case Cue::cancel:
        return 0.30f;
    }
    return 0;
}

void Sounds::play(Cue cue) {
    if (!AppSettings::shared().playSounds()) return;
    const QString name = soundName(cue);
    std::shared_ptr<SystemSound> sound = cache().value(name);
    if (!sound) {
        auto library = Platform::find<SoundLibrary>();
        if (!library) return;
        sound = library->load(name);
        if (!sound) return;
        cache().insert(name, sound);
    }
    if (sound->isPlaying()) sound->stop();
    sound->setVolume(volume(cue));
    sound->play();
}

void Sounds::forget() {
    cache().clear();
}

} // namespace nolvea
