#include "speech/Speaker.h"

#include "core/AppSettings.h"
#include "platform/linux/QtAudioPlayer.h"
#include "speech/TTSServer.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/SpeechServerScript.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QThread>

using namespace nolvea;
using test::HttpResponse;

namespace {

class SpeakerTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppSettings::shared().setVoiceEngine(VoiceEngine::neural);
        AppSettings::shared().setNeuralVoice(NeuralVoice::kokoroDora);
        AppSettings::shared().setSpeechRate(1.0);
        http.on("GET", QStringLiteral("/"), HttpResponse::text("ok"));
        http.setHandler([](const test::HttpRequest& r) {
            const QString text =
                QJsonDocument::fromJson(r.body).object()[QStringLiteral("input")].toString();
            return HttpResponse{200, {}, test::SpeechServerScript::espeakWav(text)};
        });
    }

    QStringList spokenSentences() const {
        QStringList out;
        for (const auto& r : http.requests())
            if (r.path == QStringLiteral("/v1/audio/speech"))
                out << QJsonDocument::fromJson(r.body).object()[QStringLiteral("input")].toString();
        return out;
    }

    test::LoopbackServer http;
    TTSServer server{TTSServer::Options{QStringLiteral("127.0.0.1"), http.port()}};
    Speaker speaker{nullptr, std::make_unique<QtAudioPlayer>(), &server, &AppSettings::shared()};
};

} // namespace

// The neural voice says the answer sentence by sentence; the completion comes once, on the
// main thread, when the last one has played.
TEST_F(SpeakerTest, SpeaksSentenceBySentenceWithTheNeuralVoice) {
    QSignalSpy idle(&speaker, &Speaker::idle);
    int completions = 0;
    speaker.speak(QStringLiteral("**Pronto.** Enviei o e-mail para a Ana."), [&] {
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        ++completions;
    });
    EXPECT_TRUE(speaker.isSpeaking());
    ASSERT_TRUE(test::spinUntil([&] { return completions > 0; }, 20000));
    EXPECT_FALSE(speaker.isSpeaking());
    EXPECT_EQ(spokenSentences(), (QStringList{QStringLiteral("Pronto."),
                                              QStringLiteral("Enviei o e-mail para a Ana.")}));
    ASSERT_TRUE(test::spinUntil([&] { return idle.count() > 0; }));
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(idle.count(), 1);
}

TEST_F(SpeakerTest, StopEndsAtOnceWithOneCompletion) {
    int completions = 0;
    speaker.speak(
        QStringLiteral("Primeira frase bem longa para durar. Segunda frase. Terceira frase."),
        [&] { ++completions; });
    ASSERT_TRUE(test::spinUntil([&] { return spokenSentences().size() >= 1; }));
    QSignalSpy idle(&speaker, &Speaker::idle);
    speaker.stop();
    EXPECT_FALSE(speaker.isSpeaking());
    ASSERT_TRUE(test::spinUntil([&] { return completions == 1; }));
    const int asked = int(spokenSentences().size());
    // The stopped answer's work ends (a sentence being made is dropped when it comes).
    ASSERT_TRUE(test::spinUntil([&] { return idle.count() > 0; }, 20000));
    EXPECT_EQ(completions, 1);
    EXPECT_LE(int(spokenSentences().size()), std::max(asked, 2)); // at most the one made ahead
}

TEST_F(SpeakerTest, ANewAnswerEndsTheOldOne) {
    QStringList done;
    speaker.speak(QStringLiteral("Primeira resposta."), [&] { done << QStringLiteral("1"); });
    speaker.speak(QStringLiteral("Segunda."), [&] { done << QStringLiteral("2"); });
    ASSERT_TRUE(test::spinUntil([&] { return done.size() == 2; }, 20000));
    EXPECT_EQ(done, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
}

TEST_F(SpeakerTest, NothingToSayCompletesAtOnce) {
    bool done = false;
    speaker.speak(QStringLiteral("  👍 "), [&] { done = true; });
    ASSERT_TRUE(test::spinUntil([&] { return done; }));
    EXPECT_TRUE(spokenSentences().isEmpty());
}
