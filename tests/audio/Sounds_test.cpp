#include "audio/Sounds.h"

#include "core/AppSettings.h"
#include "platform/Platform.h"
#include "platform/SoundLibrary.h"
#include "platform/linux/QtSoundLibrary.h"
#include "support/TestEnvironment.h"
#include "support/fakes/FakeSoundLibrary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace nolvea;

namespace {

// The bundled library, with a record of what was loaded and played.
std::shared_ptr<test::FakeSoundLibrary> recording(const QString& folder = {}) {
    return std::make_shared<test::FakeSoundLibrary>(std::make_shared<QtSoundLibrary>(folder));
}

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
    std::shared_ptr<test::FakeSoundLibrary> library = recording();
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
    library = recording(folder);
    Platform::install<SoundLibrary>(library);
    Sounds::play(Sounds::Cue::start);
    Sounds::play(Sounds::Cue::start);
    Sounds::play(Sounds::Cue::stop);
    EXPECT_EQ(library->log, (QStringList{QStringLiteral("load Tink"), QStringLiteral("load Tink"),
                                         QStringLiteral("load Pop"), QStringLiteral("play 0.25")}));
}
