#include "audio/AudioRecorder.h"
#include "audio/AudioRecorderError.h"
#include "platform/AudioInput.h"
#include "platform/AudioInputError.h"
#include "support/fakes/FakeAudioInput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace nolvea;

namespace {

AudioBuffer sine(float amplitude, int frames = 1024, int rate = 48000) {
    std::vector<float> s(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
        s[size_t(i)] = amplitude * float(std::sin(2 * std::numbers::pi * 440.0 * i / rate));
    return AudioBuffer::fromFloat(s, rate);
}

} // namespace

TEST(AudioRecorder, LevelMapsMinus55To0AndMinus12To1) {
    const std::vector<float> zeros(1024, 0.0f);
    EXPECT_EQ(AudioRecorder::level(AudioBuffer::fromFloat(zeros, 48000)), 0.0f);
    EXPECT_EQ(AudioRecorder::level(sine(1.0f)), 1.0f);
    EXPECT_EQ(AudioRecorder::level(AudioBuffer{}), 0.0f);
    // A sine's RMS is amplitude / sqrt(2): -30 dBFS RMS sits at (55 - 30) / 43.
    const float amplitude = float(std::pow(10.0, -30.0 / 20.0) * std::sqrt(2.0));
    EXPECT_NEAR(AudioRecorder::level(sine(amplitude)), 25.0f / 43.0f, 0.01f);
    // Only the first channel counts.
    const std::vector<qint16> loudRight{0, 32767, 0, -32767, 0, 32767};
    EXPECT_EQ(AudioRecorder::level(AudioBuffer::fromInt16(loudRight, 16000, 2)), 0.0f);
}

TEST(AudioRecorder, StartTapsBuffersOf1024FramesThenLevels) {
    test::FakeAudioInput::Log log;
    AudioRecorder recorder(std::make_unique<test::FakeAudioInput>(log));
    std::vector<std::string> calls;
    recorder.onBuffer = [&](const AudioBuffer& b) { calls.push_back("buffer"); };
    recorder.onLevel = [&](float level) { calls.push_back(level == 1.0f ? "level 1" : "level"); };
    recorder.start();
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_EQ(log.frames, 1024);
    recorder.start(); // a second start while recording does nothing
    EXPECT_EQ(log.starts, 1);
    log.tap(sine(1.0f));
    EXPECT_EQ(calls, (std::vector<std::string>{"buffer", "level 1"}));
    recorder.stop();
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(log.stops, 1);
    recorder.start();
    EXPECT_EQ(log.starts, 2);
}

TEST(AudioRecorder, NoInputDeviceThrowsNoInputAndInstallsNoTap) {
    for (AudioFormat none : {AudioFormat{48000, 0}, AudioFormat{0, 1}}) {
        test::FakeAudioInput::Log log;
        log.format = none;
        AudioRecorder recorder(std::make_unique<test::FakeAudioInput>(log));
        try {
            recorder.start();
            FAIL() << "no error";
        } catch (const AudioRecorderError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Nenhum microfone disponível."));
        }
        EXPECT_EQ(log.starts, 0);
        EXPECT_FALSE(recorder.isRecording());
    }
}

TEST(AudioRecorder, EngineStartFailureLeavesItStoppedAndRetryable) {
    test::FakeAudioInput::Log log;
    log.failStart = true;
    AudioRecorder recorder(std::make_unique<test::FakeAudioInput>(log));
    EXPECT_THROW(recorder.start(), AudioInputError);
    EXPECT_FALSE(recorder.isRecording());
    log.failStart = false;
    recorder.start();
    EXPECT_TRUE(recorder.isRecording());
}
