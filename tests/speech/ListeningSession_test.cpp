#include "speech/ListeningSession.h"

#include "audio/AudioRecorder.h"
#include "audio/AudioRecorderError.h"
#include "platform/linux/FileAudioInput.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "speech/LiveTranscriber.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

using namespace nolvea;

namespace {

std::unique_ptr<ListeningSession> over(const QString& recording) {
    auto input = std::make_unique<FileAudioInput>(recording, FileAudioInput::Pace::immediate);
    return std::make_unique<ListeningSession>(
        std::make_unique<AudioRecorder>(std::move(input)),
        std::make_unique<LiveTranscriber>(std::make_shared<PocketsphinxEngine>()));
}

} // namespace

// No device is said as such, before anything starts; a start tried anyway fails the same.
TEST(ListeningSession, NoInputDeviceIsSaidBeforeStarting) {
    auto session = over(test::home() + QStringLiteral("/nenhum-microfone.raw"));
    const auto missing = session->missingInput();
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->message(), QStringLiteral("Nenhum microfone disponível."));
    EXPECT_THROW(session->start(QStringLiteral("en-US"), {}), AudioRecorderError);
    EXPECT_FALSE(session->isRecording());
}

// Levels and the text so far reach the owner on the main thread; the transcript comes at the
// end.
TEST(ListeningSession, HearsTheRecordingAndTranscribesIt) {
    auto session = over(test::RecordedSpeech::goForwardPath());
    EXPECT_FALSE(session->missingInput());
    float loudest = 0;
    bool offThread = false;
    QString partial;
    session->onLevel = [&](float level) {
        offThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        loudest = std::max(loudest, level);
    };
    session->onPartial = [&](const QString& text) {
        offThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        partial = text;
    };
    session->start(QStringLiteral("en-US"), {});
    EXPECT_TRUE(session->isRecording());
    ASSERT_TRUE(test::spinUntil([&] { return partial.startsWith(QStringLiteral("go")); }, 60000));
    session->stop();
    EXPECT_FALSE(session->isRecording());
    EXPECT_EQ(test::await(session->finish()), QStringLiteral("go forward ten meters"));
    EXPECT_GT(loudest, 0.3f);
    EXPECT_FALSE(offThread);
}
