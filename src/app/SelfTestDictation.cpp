#include "ai/LLMClient.h"
#include "ai/TextCleaner.h"
#include "app/AudioFileReader.h"
#include "app/Console.h"
#include "app/SelfTest.h"
#include "app/Stopwatch.h"
#include "core/AppSettings.h"
#include "platform/Platform.h"
#include "platform/linux/SpeechEngineChoice.h"
#include "platform/linux/WhisperEngine.h"
#include "speech/LiveTranscriber.h"
#include "support/Error.h"

#include <QFileInfo>

namespace nolvea {

namespace {

// The recording is fed in buffers of this size, as the microphone would deliver it.
constexpr qint64 kBufferFrames = 1024;

// The engine that will transcribe the locale, as the dictation would choose it.
QString engineLine(const QString& localeID) {
    auto choice = std::dynamic_pointer_cast<SpeechEngineChoice>(Platform::find<SpeechEngine>());
    if (!choice) return QString::fromUtf8("MOTOR: ?");
    const QString name = choice->engineFor(localeID);
    if (name.isEmpty()) return QString::fromUtf8("MOTOR: nenhum para ") + localeID;
    QString line = QString::fromUtf8("MOTOR: ") + name;
    if (auto whisper = std::dynamic_pointer_cast<WhisperEngine>(choice->engine(name)))
        line += QString::fromUtf8(" (") + QFileInfo(whisper->modelFor(localeID)).fileName() +
                QLatin1Char(')');
    return line;
}

} // namespace

QCoro::Task<bool> SelfTest::dictation(QString file) {
    const AppSettings& settings = AppSettings::shared();
    LiveTranscriber transcriber;
    const Stopwatch transcription;

    std::optional<AudioFileReader> audio;
    try {
        audio = AudioFileReader::open(file);
    } catch (const std::exception& e) {
        Console::line(QString::fromUtf8("ERRO: ") + describe(e));
        co_return false;
    }
    Console::line(engineLine(settings.localeID()));
    transcriber.begin(settings.localeID(), settings.vocabulary());
    // As fast as it reads, not in real time; a read that brings nothing ends the feed.
    while (audio->position() < audio->length()) {
        const AudioBuffer buffer = audio->read(kBufferFrames);
        if (buffer.frames() == 0) break;
        transcriber.feed(buffer);
    }
    QString raw;
    try {
        raw = co_await transcriber.finish();
    } catch (const std::exception& e) {
        Console::line(QString::fromUtf8("ERRO: ") + describe(e));
        co_return false;
    }
    Console::line(QString::fromUtf8("TRANSCRIÇÃO (") +
                  Console::seconds(transcription.seconds(), 2) + QString::fromUtf8("s): ") + raw);

    // The text is cleaned as a chat message typed into Slack.
    ScreenContext context;
    context.appName = QString::fromUtf8("Slack");
    context.bundleID = QString::fromUtf8("com.tinyspeck.slackmacgap");
    const TextCleaner cleaner(LLMClient::fromSettings());
    const Stopwatch cleanup;
    try {
        const QString cleaned = co_await cleaner.clean(raw, context, settings.vocabulary());
        Console::line(QString::fromUtf8("LIMPO (") + Console::seconds(cleanup.seconds(), 2) +
                      QString::fromUtf8("s): ") + cleaned);
    } catch (const std::exception& e) {
        Console::line(QString::fromUtf8("ERRO: ") + describe(e));
        co_return false;
    }
    co_return true;
}

} // namespace nolvea
