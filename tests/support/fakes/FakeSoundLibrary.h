#pragma once

#include "platform/SoundLibrary.h"

#include <QStringList>

#include <map>

namespace nolvea::test {

// Another library's sounds, with a log of what was loaded and played; each sound says it is
// playing only when the test says so.
class FakeSoundLibrary final : public SoundLibrary {
public:
    explicit FakeSoundLibrary(std::shared_ptr<SoundLibrary> real)
        : m_real(std::move(real)) {}

    struct Sound final : SystemSound {
        Sound(std::shared_ptr<SystemSound> real, FakeSoundLibrary& lib)
            : real(std::move(real))
            , lib(lib) {}
        void play() override {
            lib.log << QStringLiteral("play %1").arg(double(volume));
            real->play();
        }
        void stop() override {
            lib.log << QStringLiteral("stop");
            real->stop();
        }
        bool isPlaying() const override { return playing; }
        void setVolume(float v) override {
            volume = v;
            real->setVolume(v);
        }
        std::shared_ptr<SystemSound> real;
        FakeSoundLibrary& lib;
        bool playing = false;
        float volume = 0;
    };

    std::shared_ptr<SystemSound> load(const QString& name) override {
        log << QStringLiteral("load ") + name;
        auto real = m_real->load(name);
        if (!real) return nullptr;
        auto s = std::make_shared<Sound>(real, *this);
        sounds[name] = s;
        return s;
    }

    QStringList log;
    std::map<QString, std::shared_ptr<Sound>> sounds;

private:
    std::shared_ptr<SoundLibrary> m_real;
};

} // namespace nolvea::test
