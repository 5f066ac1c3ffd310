#include "speech/LiveTranscriber.h"

#include "platform/SpeechEngineError.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "speech/TranscriberError.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/fakes/FakeSpeechEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace nolvea;
using nolvea::test::await;

namespace {

std::shared_ptr<PocketsphinxEngine> engine() {
    static auto e = std::make_shared<PocketsphinxEngine>();
    return e;
}

void feedAll(LiveTranscriber& t, const std::vector<AudioBuffer>& buffers) {
    for (const auto& b : buffers)
        ASSERT_TRUE(t.feed(b));
}

} // namespace

TEST(LiveTranscriber, JoinsResultsWithExactlyOneBlank) {
    struct Case {
        const char *a, *b, *joined;
    } cases[] = {{"", "b", "b"},
                 {"a", "", "a"},
                 {"go", "forward", "go forward"},
                 {"go ", "forward", "go forward"},
                 {"go", " forward", "go forward"},
                 {"", "", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(LiveTranscriber::join(QString::fromUtf8(c.a), QString::fromUtf8(c.b)),
                  QString::fromUtf8(c.joined))
            << c.a << "|" << c.b;
}

// Recorded speech through the real recognizer, as the microphone would deliver it
// (48 kHz stereo float in 1024-frame buffers): live text while it runs, the whole
// sentence at the end.
TEST(LiveTranscriber, TranscribesRecordedSpeech) {
    LiveTranscriber t(engine());
    QStringList partials;
    t.onPartial = [&](const QString& text) { partials << text; };
    t.begin(QStringLiteral("en-US"), {});
    EXPECT_TRUE(t.isOpen());
    feedAll(t, test::RecordedSpeech::goForward48kStereo());
    const QString text = await(t.finish());
    EXPECT_EQ(text, QStringLiteral("go forward ten meters"));
    EXPECT_FALSE(t.isOpen());
    ASSERT_TRUE(test::spinUntil([&] { return !partials.isEmpty() && partials.last() == text; }));
    EXPECT_GT(partials.size(), 1);
    EXPECT_TRUE(partials.first().startsWith(QStringLiteral("go")));
}

TEST(LiveTranscriber, FinishWithoutTranscriptionIsEmptyAtOnce) {
    LiveTranscriber t(engine());
    EXPECT_EQ(await(t.finish()), QString());
    t.begin(QStringLiteral("en-US"), {});
    t.cancel();
    EXPECT_FALSE(t.feed(test::RecordedSpeech::goForward16k().front()));
    EXPECT_EQ(await(t.finish()), QString());
}

TEST(LiveTranscriber, BeginTwiceKeepsOnlyTheSecond) {
    LiveTranscriber t(engine());
    const auto speech = test::RecordedSpeech::goForward16k();
    t.begin(QStringLiteral("en-US"), {});
    feedAll(t, {speech.begin(), speech.begin() + speech.size() / 2});
    t.begin(QStringLiteral("en-US"), {});
    feedAll(t, speech);
    EXPECT_EQ(await(t.finish()), QStringLiteral("go forward ten meters"));
}

TEST(LiveTranscriber, LocaleWithoutModelFailsWithItsIdentifierUnchanged) {
    LiveTranscriber t(engine());
    t.begin(QStringLiteral("pt-BR"), {});
    try {
        await(t.finish());
        FAIL() << "no error";
    } catch (const TranscriberError& e) {
        EXPECT_EQ(e.code(), TranscriberError::Code::unsupportedLocale);
        // It names the identifier unchanged and the folder where a model would make it work.
        EXPECT_EQ(e.message(),
                  QStringLiteral("O idioma pt-BR não é suportado pela transcrição local. Para "
                                 "usá-lo, coloque um modelo whisper multilíngue (ggml-base.bin, "
                                 "por exemplo) em ") +
                      AppPaths::file(QStringLiteral("whisper")) + QLatin1Char('.'));
    }
    // The failed run closed its input: later audio is dropped.
    EXPECT_TRUE(test::spinUntil([&] { return !t.feed(test::RecordedSpeech::goForward16k()[0]); }));
}

// The audio thread keeps feeding while the main thread opens, ends and abandons
// transcriptions: every buffer lands in an open stream or is dropped, never in a closed
// one, and nothing crashes.
TEST(LiveTranscriber, FeedingFromAnotherThreadWhileItOpensAndCloses) {
    LiveTranscriber t(engine());
    const auto speech = test::RecordedSpeech::goForward16k();
    std::atomic<bool> stop{false};
    std::atomic<int> queued{0}, dropped{0};
    std::thread audio([&] {
        size_t i = 0;
        while (!stop) {
            (t.feed(speech[i++ % speech.size()]) ? queued : dropped)++;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });
    for (int round = 0; round < 40; ++round) {
        t.begin(QStringLiteral("en-US"), {});
        QCoreApplication::processEvents();
        // On a busy machine the audio thread may not run at all in a short round: the first
        // round waits until it has fed an open transcription.
        if (round == 0) EXPECT_TRUE(test::spinUntil([&] { return queued.load() > 0; }));
        if (round % 2)
            t.cancel();
        else
            (void)await(t.finish());
    }
    // Every stream is closed now: what comes next is dropped.
    EXPECT_TRUE(test::spinUntil([&] { return dropped > 0; }));
    stop = true;
    audio.join();
    EXPECT_GT(queued.load(), 0);
    EXPECT_GT(dropped.load(), 0);
    EXPECT_FALSE(t.feed(speech[0]));
}

// A word of the vocabulary made of known words reaches the recognizer; it stays with that
// vocabulary and does not leak into a later run without it.
TEST(LiveTranscriber, VocabularyReachesTheRecognizerOnlyForItsRun) {
    LiveTranscriber t(engine());
    const QStringList vocabulary{QStringLiteral("forward"), QStringLiteral("Xyzzyq"),
                                 QStringLiteral("GoForward")};
    for (const QStringList& words : {vocabulary, QStringList{}, vocabulary}) {
        t.begin(QStringLiteral("en_US.UTF-8"), words);
        feedAll(t, test::RecordedSpeech::goForward16k());
        EXPECT_EQ(await(t.finish()), words.isEmpty() ? QStringLiteral("go forward ten meters")
                                                     : QStringLiteral("goforward ten meters"));
    }
}

TEST(LiveTranscriber, ModelDownloadReportsItsStatusOrFails) {
    // Pocketsphinx ships its models with the system: only a stand-in shows the download.
    auto downloading = std::make_shared<test::FakeSpeechEngine>(engine(), QStringLiteral("en-us"));
    downloading->installed = false;
    LiveTranscriber t(downloading);
    QStringList statuses;
    t.onStatus = [&](const QString& s) { statuses << s; };
    t.begin(QStringLiteral("en-us"), {});
    feedAll(t, test::RecordedSpeech::goForward16k());
    EXPECT_EQ(await(t.finish()), QStringLiteral("go forward ten meters"));
    EXPECT_EQ(statuses, QStringList{QStringLiteral("Baixando modelo de voz…")});

    t.onStatus = nullptr;
    downloading->failInstall = true;
    t.begin(QStringLiteral("en-us"), {});
    EXPECT_THROW(await(t.finish()), SpeechEngineError);
    EXPECT_EQ(downloading->installs.load(), 2);
    EXPECT_EQ(statuses.size(), 1);
}

// Engines opening their first decoders at the same moment, each on its own thread (the
// library's log file is one for the whole process).
TEST(LiveTranscriber, EnginesOpenTheirModelsOnManyThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::atomic<int> opened{0};
    for (int i = 0; i < 6; ++i)
        threads.emplace_back([&] {
            for (int round = 0; round < 3; ++round)
                if (PocketsphinxEngine().open(QStringLiteral("en-us"))) ++opened;
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(opened.load(), 18);
}
