#include "platform/linux/QtSoundLibrary.h"

#include "support/Async.h"
#include "support/VirtualMicrophone.h"

#include <gtest/gtest.h>

using namespace nolvea;

// The five bundled sounds are short playable WAV files that the audio server plays.
TEST(QtSoundLibrary, BundledSoundsPlay) {
    if (!test::VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    QtSoundLibrary library;
    for (const char* name : {"Tink", "Pop", "Glass", "Basso", "Bottle"}) {
        auto sound = library.load(QString::fromLatin1(name));
        ASSERT_TRUE(sound) << name;
        sound->setVolume(0.25f);
        sound->play();
        EXPECT_TRUE(test::spinUntil([&] { return sound->isPlaying(); }, 5000)) << name;
        EXPECT_TRUE(test::spinUntil([&] { return !sound->isPlaying(); }, 5000)) << name;
    }
    EXPECT_FALSE(library.load(QStringLiteral("Sosumi")));
}
