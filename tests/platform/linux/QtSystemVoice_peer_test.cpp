#include "platform/linux/QtSystemVoice.h"

#include "core/AppSettings.h"
#include "platform/linux/QtAudioPlayer.h"
#include "speech/Speaker.h"
#include "speech/TTSServer.h"
#include "support/Async.h"
#include "support/SpeechServerScript.h"
#include "support/VirtualMicrophone.h"

#include <gtest/gtest.h>

using namespace nolvea;

// The desktop's synthesizer (speech-dispatcher with espeak-ng) speaks and reports its end.
TEST(QtSystemVoice, SpeaksAndReportsTheEnd) {
    if (!test::VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    QtSystemVoice voice;
    int done = 0;
    voice.speak(QStringLiteral("Olá, tudo bem?"), {}, 1.2, [&] { ++done; });
    ASSERT_TRUE(test::spinUntil([&] { return done == 1; }, 20000));
    EXPECT_FALSE(voice.isSpeaking());

    voice.speak(QStringLiteral("Uma frase que será interrompida antes do fim."), {}, 1.0,
                [&] { ++done; });
    voice.stop();
    EXPECT_EQ(done, 2);
}

// With no neural server to be had, the answer is spoken by the system voice.
TEST(QtSystemVoice, SpeakerFallsBackToTheSystemVoice) {
    if (!test::VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    AppSettings::shared().setVoiceEngine(VoiceEngine::neural);
    TTSServer::Options o;
    o.port = test::SpeechServerScript::freePort();
    o.program = QStringLiteral("/nonexistent/env");
    TTSServer server(o);
    auto voice = std::make_shared<QtSystemVoice>();
    Speaker speaker(voice, std::make_unique<QtAudioPlayer>(), &server, &AppSettings::shared());
    bool spoke = false, done = false;
    speaker.speak(QStringLiteral("Servidor fora do ar."), [&] { done = true; });
    ASSERT_TRUE(test::spinUntil(
        [&] {
            spoke = spoke || voice->isSpeaking();
            return done;
        },
        20000));
    EXPECT_TRUE(spoke);
    EXPECT_EQ(server.status().kind(), TTSServer::Status::Kind::failed);
}
