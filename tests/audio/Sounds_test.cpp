#include "audio/Sounds.h"

#include "core/AppSettings.h"
#include "platform/Platform.h"
#include "platform/SoundLibrary.h"
#include "platform/linux/QtSoundLibrary.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace nolvea;

namespace {

// The bundled library, with a record of what was loaded and played.
class RecordingLibrary final : public SoundLibrary {
public:
    explicit RecordingLibrary(QString folder = {})
        : m_real(std::move(folder)) {}

    struct Sound final : SystemSound {
        Sound(std::shared_ptr<SystemSound> real, RecordingLibrary& lib)
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
        RecordingLibrary& lib;
        bool playing = false;
        float volume = 0;
    };

    std::shared_ptr<SystemSound> load(const QString& name) override {
        log << QStringLiteral("load ") + name;
        auto real = m_real.load(name);
        if (!real) return nullptr;
        auto s = std::make_shared<Sound>(real, *this);
        sounds[name] = s;
        return s;
    }

    QStringList log;
    std::map<QString, std::shared_ptr<Sound>> sounds;

private:
    QtSoundLibrary m_real;
};

class SoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sounds::forget();
        Platform::install<SoundLibrary>(library);
        AppSettings::shared().setPlaySounds(true);
    }
    void TearDown() override {
        Platform::uninstall<SoundLibrary>();
        Sounds::forget();
    }
    std::shared_ptr<RecordingLibrary> library = std::make_shared<RecordingLibrary>();
};

} // namespace

TEST_F(SoundsTest, EachCuePlaysItsBundledSoundAtItsVolume) {
    struct Case {
        Sounds::Cue cue;
        const char* name;
        double volume;
    } cases[] = {{Sounds::Cue::start, "Tink", 0.25},
                 {Sounds::Cue::stop, "Pop", 0.25},
                 {Sounds::Cue::success, "Glass", 0.18},
                 {Sounds::Cue::failure, "Basso", 0.30},
                 {Sounds::Cue::cancel, "Bottle", 0.30}};
    for (const auto& c : cases) {
        library->log.clear();
        Sounds::play(c.cue);
        EXPECT_EQ(library->log, (QStringList{QStringLiteral("load ") + QLatin1String(c.name),
                                             QStringLiteral("play %1").arg(float(c.volume))}))
            << c.name;
    }
}

TEST_F(SoundsTest, ARepeatedCueRestartsTheSameSound) {
    Sounds::play(Sounds::Cue::start);
    library->sounds[QStringLiteral("Tink")]->playing = true;
    library->log.clear();
    Sounds::play(Sounds::Cue::start);
    EXPECT_EQ(library->log, (QStringList{QStringLiteral("stop"), QStringLiteral("play 0.25")}));
}

TEST_F(SoundsTest, SoundsOffLoadsAndPlaysNothing) {
    AppSettings::shared().setPlaySounds(false);
    for (auto cue : {Sounds::Cue::start, Sounds::Cue::failure})
        Sounds::play(cue);
    EXPECT_TRUE(library->log.isEmpty());
}

TEST_F(SoundsTest, AMissingSoundIsSkippedAndNotCached) {
    const QString folder = test::home() + QStringLiteral("/few-sounds");
    QDir().mkpath(folder);
    QFile::copy(QString::fromUtf8(NOLVEA_SOURCE_DIR) +
                    QStringLiteral("/share/nolvea/sounds/Pop.wav"),
                folder + QStringLiteral("/Pop.wav"));
    library = std::make_shared<RecordingLibrary>(folder);
    Platform::install<SoundLibrary>(library);
    Sounds::play(Sounds::Cue::start);
    Sounds::play(Sounds::Cue::start);
    Sounds::play(Sounds::Cue::stop);
    EXPECT_EQ(library->log, (QStringList{QStringLiteral("load Tink"), QStringLiteral("load Tink"),
                                         QStringLiteral("load Pop"), QStringLiteral("play 0.25")}));
}
