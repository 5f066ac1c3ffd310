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

// Of espeak-ng's many voices of a language, the voices themselves are offered (not their
// "+variant" copies), those of the language's own country first.
TEST(QtSystemVoice, OffersTheVoicesOfTheLanguageTheCountrysOwnFirst) {
    using Voice = SystemVoice::Voice;
    auto names = [](const std::vector<Voice>& voices) {
        QStringList out;
        for (const Voice& v : voices) {
            EXPECT_EQ(v.identifier, v.name);
            EXPECT_EQ(v.quality, SystemVoice::Quality::compact);
            out << v.name;
        }
        return out;
    };
    struct Case {
        const char* locale;
        QStringList engine;
        QStringList offered;
    };
    const QList<Case> cases{
        {"pt-BR",
         {"Portuguese (Portugal)", "Portuguese (Portugal)+Annie", "Portuguese (Brazil)",
          "Portuguese (Brazil)+Andy"},
         {"Portuguese (Brazil)", "Portuguese (Portugal)"}},
        {"pt-PT",
         {"Portuguese (Brazil)", "Portuguese (Portugal)"},
         {"Portuguese (Portugal)", "Portuguese (Brazil)"}},
        {"en-US",
         {"English (Caribbean)", "English (America)"},
         {"English (Caribbean)", "English (America)"}},
        {"de-DE", {"German+Max"}, {}},
        {"it-IT", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(names(QtSystemVoice::offered(c.engine, QString::fromUtf8(c.locale))), c.offered)
            << c.locale;
}

// The automatic voice is Brazilian; a chosen one is used, whatever its language, and leaving
// it for the automatic choice really leaves it.
TEST(QtSystemVoice, SpeaksWithTheChosenVoiceOrTheBestBrazilianOne) {
    if (!test::VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    QtSystemVoice voice;
    const auto brazil = voice.voices(QStringLiteral("pt-BR"));
    ASSERT_FALSE(brazil.empty()) << "speech-dispatcher with espeak-ng speaks Portuguese";
    EXPECT_EQ(brazil.front().name, QStringLiteral("Portuguese (Brazil)"));
    const auto english = voice.voices(QStringLiteral("en-US"));
    ASSERT_FALSE(english.empty());

    int done = 0;
    auto say = [&](const QString& id) {
        const int before = done;
        voice.speak(QStringLiteral("Oi."), id, 1.4, [&] { ++done; });
        const QString used = voice.voiceName();
        EXPECT_TRUE(test::spinUntil([&] { return done == before + 1; }, 20000));
        return used;
    };
    EXPECT_EQ(say({}), QStringLiteral("Portuguese (Brazil)"));
    EXPECT_EQ(say(QStringLiteral("Portuguese (Portugal)")),
              QStringLiteral("Portuguese (Portugal)"));
    EXPECT_EQ(say(english.front().identifier), english.front().name);
    EXPECT_EQ(say({}), QStringLiteral("Portuguese (Brazil)"));
    EXPECT_EQ(say(QStringLiteral("Nenhuma voz com este nome")),
              QStringLiteral("Portuguese (Brazil)"));
}
