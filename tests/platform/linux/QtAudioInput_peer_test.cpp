#include "platform/linux/QtAudioInput.h"

#include "audio/AudioRecorder.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "speech/LiveTranscriber.h"
#include "support/Async.h"
#include "support/HeardSpeech.h"
#include "support/RecordedSpeech.h"
#include "support/VirtualMicrophone.h"

#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <mutex>

using namespace nolvea;

// Speech played into the session's PulseAudio microphone is recorded through Qt Multimedia
// in 1024-frame buffers on the audio thread and transcribed.
TEST(QtAudioInput, RecordsSpeechFromTheMicrophone) {
    if (!test::VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    AudioRecorder recorder(std::make_unique<QtAudioInput>());
    LiveTranscriber transcriber(std::make_shared<PocketsphinxEngine>());
    std::atomic<int> buffers{0}, fullBuffers{0}, onMainThread{0};
    std::atomic<float> loudest{0};
    test::HeardSpeech heard;
    recorder.onBuffer = [&](const AudioBuffer& b) {
        ++buffers;
        heard.hear(b);
        if (b.frames() == 1024) ++fullBuffers;
        if (QThread::currentThread() == qApp->thread()) ++onMainThread;
        transcriber.feed(b);
    };
    recorder.onLevel = [&](float level) {
        if (level > loudest) loudest = level;
    };
    transcriber.begin(QStringLiteral("en-US"), {});
    recorder.start();
    ASSERT_TRUE(recorder.isRecording());
    ASSERT_TRUE(test::VirtualMicrophone::playAndWait(test::RecordedSpeech::goForwardPath()));
    // The tail still travels through the audio server.
    ASSERT_TRUE(test::spinUntil([&] { return heard.isPastSpeech(); }));
    recorder.stop();
    EXPECT_FALSE(recorder.isRecording());
    const int after = buffers;
    // Nothing arrives once stopped, while the microphone goes on sending to others.
    test::HeardSpeech other;
    ASSERT_TRUE(other.listen());
    ASSERT_TRUE(test::spinUntil([&] { return other.milliseconds() >= 200; }));
    EXPECT_EQ(buffers.load(), after);

    // A busy machine may lose a little of the sound on its way: the start must be there.
    const QString text = test::await(transcriber.finish());
    EXPECT_TRUE(text.startsWith(QStringLiteral("go forward"))) << text.toStdString();
    EXPECT_GT(fullBuffers.load(), 20);
    EXPECT_EQ(onMainThread.load(), 0);
    EXPECT_GT(loudest.load(), 0.3f);
}

TEST(QtAudioInput, ReportsTheDefaultInputFormat) {
    if (!test::VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    QtAudioInput input;
    const AudioFormat f = input.format();
    EXPECT_TRUE(f.isValid());
    // A second run after a stop works as the first.
    for (int run = 0; run < 2; ++run) {
        std::atomic<int> n{0};
        input.start(f, 1024, [&](const AudioBuffer&) { ++n; });
        EXPECT_TRUE(test::spinUntil([&] { return n > 3; }, 5000));
        input.stop();
    }
}
