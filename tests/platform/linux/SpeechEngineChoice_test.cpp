#include "platform/linux/SpeechEngineChoice.h"

#include "platform/linux/PocketsphinxEngine.h"
#include "support/TinyWhisperModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace nolvea;
using nolvea::test::TinyWhisperModel;

// Per locale: a whisper model when one serves it, then pocketsphinx (Debian ships its English
// model), then nothing; and a recognizer comes from the engine that was chosen.
TEST(SpeechEngineChoice, TakesTheFirstEngineWithAModelForTheLocale) {
    enum Models { none, multilingual, englishOnly };
    struct Case {
        Models models;
        const char* locale;
        const char* engine; // empty: unsupported
    } cases[] = {
        {none, "en-US", "pocketsphinx"},    {none, "pt-BR", ""},
        {none, "fr_FR.UTF-8", ""},          {multilingual, "pt-BR", "whisper"},
        {multilingual, "en-US", "whisper"}, {multilingual, "fr_FR.UTF-8", "whisper"},
        {englishOnly, "en-US", "whisper"},  {englishOnly, "pt-BR", ""},
        {englishOnly, "", "whisper"}, // no locale set: English
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " with models " + std::to_string(c.models));
        QTemporaryDir whisper;
        if (c.models != none) {
            ASSERT_TRUE(QFile::copy(TinyWhisperModel::sharedPath(c.models == multilingual),
                                    whisper.filePath(QStringLiteral("ggml-modelo.bin"))));
        }
        auto choice =
            SpeechEngineChoice::standard(whisper.path(), {PocketsphinxEngine::systemModels()});
        const QString locale = QString::fromUtf8(c.locale);
        EXPECT_EQ(choice->engineFor(locale), QString::fromUtf8(c.engine));
        const auto supported = choice->supportedLocale(locale);
        ASSERT_EQ(supported.has_value(), *c.engine != 0);
        if (!supported) continue;
        const auto recognizer = choice->open(*supported);
        ASSERT_TRUE(recognizer);
        // Whisper takes float samples, pocketsphinx 16-bit ones.
        EXPECT_EQ(recognizer->format().sample, QString::fromUtf8(c.engine) == "whisper"
                                                   ? AudioFormat::Sample::float32
                                                   : AudioFormat::Sample::int16);
    }
}
