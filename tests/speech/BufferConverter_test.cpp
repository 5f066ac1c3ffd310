#include "speech/BufferConverter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace nolvea;

namespace {
const AudioFormat kTarget{16000, 1, AudioFormat::Sample::int16};

std::vector<float> tone(double hz, int frames, int rate, int channels = 1) {
    std::vector<float> s;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s.push_back(0.5f * float(std::sin(2 * std::numbers::pi * hz * i / rate)));
    return s;
}

double rms(const AudioBuffer& b) {
    double sum = 0;
    for (qint64 i = 0; i < b.frames(); ++i)
        sum += double(b.sample(i, 0)) * b.sample(i, 0);
    return std::sqrt(sum / double(b.frames()));
}
} // namespace

TEST(BufferConverter, OutputCapacityIsTheCeilingOfTheRatioPlusOne) {
    EXPECT_EQ(BufferConverter::outputCapacity(16000, 48000, 1024), 343u);
    EXPECT_EQ(BufferConverter::outputCapacity(16000, 16000, 1024), 1025u);
    EXPECT_EQ(BufferConverter::outputCapacity(48000, 16000, 1024), 3073u);
    EXPECT_FALSE(BufferConverter::outputCapacity(16000, 1, qint64(1) << 32).has_value());
}

TEST(BufferConverter, TargetFormatPassesThroughUnchanged) {
    BufferConverter c(kTarget);
    const std::vector<qint16> s{1, 2, 3};
    const AudioBuffer in = AudioBuffer::fromInt16(s, 16000);
    const auto out = c.convert(in);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->data.constData(), in.data.constData()); // the same bytes, not a copy
}

// A stream of 48 kHz stereo float buffers becomes 16 kHz mono int16 with no frame lost or
// added at the buffer joins, and a 440 Hz tone keeps its strength.
TEST(BufferConverter, DownsamplesAStreamAcrossBufferJoins) {
    BufferConverter c(kTarget);
    const auto all = tone(440, 48000, 48000, 2);
    qint64 frames = 0;
    double energy = 0;
    for (size_t at = 0; at < all.size(); at += 2048) {
        const std::vector<float> part(all.begin() + at,
                                      all.begin() + std::min(all.size(), at + 2048));
        const auto out = c.convert(AudioBuffer::fromFloat(part, 48000, 2));
        ASSERT_TRUE(out);
        EXPECT_EQ(out->format, kTarget);
        EXPECT_LE(out->frames(), qint64(*BufferConverter::outputCapacity(16000, 48000, 1024)));
        frames += out->frames();
        energy += rms(*out) * rms(*out) * double(out->frames());
    }
    EXPECT_NEAR(frames, 16000, 1);
    EXPECT_NEAR(std::sqrt(energy / double(frames)), 0.5 / std::sqrt(2.0), 0.01);
}

// Averaging keeps a tone above the new rate's band from folding back as a loud alias.
TEST(BufferConverter, DampsWhatTheLowerRateCannotCarry) {
    BufferConverter c(kTarget);
    const auto out = c.convert(AudioBuffer::fromFloat(tone(15000, 4800, 48000), 48000));
    ASSERT_TRUE(out);
    EXPECT_LT(rms(*out), 0.2 * 0.5 / std::sqrt(2.0));
}

TEST(BufferConverter, UpsamplesAndRejectsInvalidInput) {
    BufferConverter c(kTarget);
    const auto out = c.convert(AudioBuffer::fromFloat(tone(440, 800, 8000), 8000));
    ASSERT_TRUE(out);
    EXPECT_NEAR(out->frames(), 1600, 2);
    EXPECT_FALSE(c.convert(AudioBuffer{{0, 1}, QByteArray(8, 0)}));
}
