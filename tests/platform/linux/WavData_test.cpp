#include "platform/linux/WavData.h"

#include "support/SpeechServerScript.h"

#include <gtest/gtest.h>

using namespace nolvea;

TEST(WavData, ReadsEspeakOutputAndRejectsOtherBytes) {
    // espeak-ng streams its WAV, leaving the sizes at their maximum.
    const QByteArray wav = test::SpeechServerScript::espeakWav(QStringLiteral("Bom dia."));
    const auto data = WavData::parse(wav);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->format, (AudioFormat{22050, 1, AudioFormat::Sample::int16}));
    EXPECT_GT(data->seconds(), 0.3);
    EXPECT_LT(data->seconds(), 3.0);
    EXPECT_EQ(data->pcm.size() % 2, 0);

    for (const QByteArray& bad : {QByteArray(), QByteArray("RIFF\0\0\0\0WAVE", 12),
                                  QByteArray("ID3 not a wave file at all"), wav.left(30)})
        EXPECT_FALSE(WavData::parse(bad));
}
