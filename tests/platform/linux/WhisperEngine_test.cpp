#include "platform/linux/WhisperEngine.h"

#include "platform/SpeechEngineError.h"
#include "platform/linux/WhisperModelFile.h"
#include "speech/LiveTranscriber.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/TinyWhisperModel.h"
#include "support/fakes/ManualClock.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

using namespace nolvea;
using nolvea::test::await;
using nolvea::test::TinyWhisperModel;

namespace {

// A folder of whisper models holding the given files.
struct ModelFolder {
    QTemporaryDir dir;

    QString path() const { return dir.path(); }

    void add(const QString& name, const QByteArray& bytes) const {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void addTiny(const QString& name, bool multilingual = true) const {
        ASSERT_TRUE(QFile::copy(TinyWhisperModel::sharedPath(multilingual), dir.filePath(name)));
    }
};

QByteArray tinyBytes() {
    QFile f(TinyWhisperModel::sharedPath());
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// Hands recognising to a real engine and notes the threads its recognizers work on.
class ThreadNotingEngine final : public SpeechEngine {
public:
    explicit ThreadNotingEngine(std::shared_ptr<SpeechEngine> real)
        : m_real(std::move(real)) {}

    std::optional<QString> supportedLocale(const QString& id) override {
        return m_real->supportedLocale(id);
    }
    std::unique_ptr<SpeechRecognizer> open(const QString& locale) override {
        return std::make_unique<Noting>(m_real->open(locale), *this);
    }

    std::set<std::thread::id> threads() const {
        std::lock_guard lock(m_mutex);
        return m_threads;
    }

private:
    struct Noting final : SpeechRecognizer {
        Noting(std::unique_ptr<SpeechRecognizer> real, ThreadNotingEngine& owner)
            : real(std::move(real))
            , owner(owner) {}
        AudioFormat format() const override { return real->format(); }
        bool setVocabulary(const QStringList& w) override { return real->setVocabulary(w); }
        void start() override { real->start(); }
        void process(const AudioBuffer& b, std::vector<SpeechResult>& r) override {
            owner.note();
            real->process(b, r);
        }
        void finish(std::vector<SpeechResult>& r) override {
            owner.note();
            real->finish(r);
        }
        std::unique_ptr<SpeechRecognizer> real;
        ThreadNotingEngine& owner;
    };

    void note() {
        std::lock_guard lock(m_mutex);
        m_threads.insert(std::this_thread::get_id());
    }

    std::shared_ptr<SpeechEngine> m_real;
    mutable std::mutex m_mutex;
    std::set<std::thread::id> m_threads;
};

} // namespace

// The tiny model with random weights through the transcriber, fed from a thread of its own as
// the microphone does: live text while audio comes, a final text at the end, and no decoding
// on the audio thread or the main thread.
TEST(WhisperEngine, TranscribesLiveWithTheRealDecoder) {
    ModelFolder folder;
    folder.addTiny(QStringLiteral("ggml-tiny.bin"));
    // One thread: the tests share the machine, and waiting threads only slow each other.
    auto whisper =
        std::make_shared<WhisperEngine>(folder.path(), WhisperEngine::Options{.threads = 1});
    auto engine = std::make_shared<ThreadNotingEngine>(whisper);
    LiveTranscriber t(engine);
    QStringList partials;
    t.onPartial = [&](const QString& text) { partials << text; };
    t.begin(QStringLiteral("pt-BR"), {QStringLiteral("Nolvea"), QStringLiteral("PostgreSQL")});

    const auto buffers = test::RecordedSpeech::goForward48kStereo();
    std::thread::id audioThread;
    std::thread audio([&] {
        audioThread = std::this_thread::get_id();
        // The first second and a half, then nothing until a partial text has been shown.
        const size_t firstPart = 48000 * 3 / 2 / 1024;
        for (size_t i = 0; i < firstPart; ++i)
            t.feed(buffers[i]);
    });
    audio.join();
    ASSERT_TRUE(test::spinUntil([&] { return !partials.isEmpty(); }, 60000));
    EXPECT_FALSE(partials.first().isEmpty());
    std::thread rest([&] {
        for (size_t i = 48000 * 3 / 2 / 1024; i < buffers.size(); ++i)
            t.feed(buffers[i]);
    });
    rest.join();

    const QString text = await(t.finish());
    EXPECT_FALSE(text.isEmpty());
    EXPECT_EQ(text, text.trimmed());
    EXPECT_TRUE(whisper->isLoaded());

    const auto threads = engine->threads();
    ASSERT_FALSE(threads.empty());
    EXPECT_EQ(threads.count(audioThread), 0u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
}

// Damaged and foreign files give a clear Portuguese error when opened, and the decoder library
// never sees them (it would assert, or run on weights it never read).
TEST(WhisperEngine, DamagedModelFilesFailWithAClearError) {
    const QByteArray good = tinyBytes();
    QByteArray hugeVocabulary = good;
    const qint32 huge = 1 << 30;
    hugeVocabulary.replace(4, 4, reinterpret_cast<const char*>(&huge), 4);
    QByteArray flipped = good;
    flipped[good.size() / 2 - 3] = char(0x7f); // inside the weights: still loads

    const QString incomplete = QStringLiteral(" está incompleto. Baixe-o de novo.");
    const QString corrupt = QStringLiteral(" está corrompido. Baixe-o de novo.");
    const QString foreign = QStringLiteral(" não é um modelo whisper no formato ggml.");
    struct Case {
        const char* what;
        QByteArray bytes;
        QString error; // empty: it loads
    } cases[] = {
        {"whole", good, {}},
        {"a changed weight", flipped, {}},
        {"empty", {}, foreign},
        {"text", QByteArray("not a model\n"), foreign},
        {"gguf", QByteArray("GGUF\x03\0\0\0", 8) + good.mid(8), foreign},
        {"cut in the header", good.left(20), incomplete},
        {"cut in the vocabulary", good.left(200000), incomplete},
        {"cut in the weights", good.left(good.size() / 2), incomplete},
        {"last byte missing", good.left(good.size() - 1), incomplete},
        {"a byte too many", good + QByteArray(1, '\0'), incomplete},
        {"impossible vocabulary", hugeVocabulary, corrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModelFolder folder;
        folder.add(QStringLiteral("ggml-base.bin"), c.bytes);
        WhisperEngine engine(folder.path());
        // The file is still the one chosen for the locale, so the user hears what is wrong.
        ASSERT_EQ(engine.supportedLocale(QStringLiteral("pt-BR")), QStringLiteral("pt-br"));
        try {
            auto recognizer = engine.open(QStringLiteral("pt-br"));
            EXPECT_TRUE(c.error.isEmpty()) << "opened";
            EXPECT_TRUE(engine.isLoaded());
        } catch (const SpeechEngineError& e) {
            if (c.error.isEmpty()) {
                ADD_FAILURE() << e.message().toStdString();
                continue;
            }
            EXPECT_TRUE(e.message().endsWith(c.error)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QStringLiteral("ggml-base.bin")));
            EXPECT_FALSE(engine.isLoaded());
        }
    }
}

// Which model file serves which locale.
TEST(WhisperEngine, ChoosesAModelForTheLocale) {
    struct Case {
        const char* what;
        std::vector<std::pair<QString, bool>> models; // file, multilingual
        bool brokenExtra;
        const char* locale;
        const char* chosen; // empty: unsupported
    } cases[] = {
        {"multilingual, Portuguese",
         {{"ggml-base.bin", true}},
         false,
         "pt_BR.UTF-8",
         "ggml-base.bin"},
        {"multilingual, English", {{"ggml-base.bin", true}}, false, "en-US", "ggml-base.bin"},
        {"English only, Portuguese", {{"ggml-base.en.bin", false}}, false, "pt-BR", ""},
        {"English only, English",
         {{"ggml-base.en.bin", false}},
         false,
         "en-US",
         "ggml-base.en.bin"},
        {"both, English prefers .en",
         {{"ggml-base.bin", true}, {"ggml-small.en.bin", false}},
         false,
         "en-GB",
         "ggml-small.en.bin"},
        {"both, Portuguese",
         {{"ggml-base.bin", true}, {"ggml-small.en.bin", false}},
         false,
         "pt",
         "ggml-base.bin"},
        {"a broken file does not hide a good one",
         {{"ggml-base.bin", true}},
         true,
         "pt-BR",
         "ggml-base.bin"},
        {"a broken file alone is still chosen", {}, true, "pt-BR", "ggml-a.bin"},
        {"no model", {}, false, "pt-BR", ""},
        {"a language whisper does not know", {{"ggml-base.bin", true}}, false, "xx-YY", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModelFolder folder;
        for (const auto& [name, multilingual] : c.models)
            folder.addTiny(name, multilingual);
        if (c.brokenExtra) folder.add(QStringLiteral("ggml-a.bin"), QByteArray("PK\3\4 zip"));
        folder.add(QStringLiteral("LEIA-ME.txt"), QByteArray("not a model"));
        WhisperEngine engine(folder.path());
        const QString chosen = QFileInfo(engine.modelFor(QString::fromUtf8(c.locale))).fileName();
        EXPECT_EQ(chosen, QString::fromUtf8(c.chosen));
        EXPECT_EQ(engine.supportedLocale(QString::fromUtf8(c.locale)).has_value(), *c.chosen != 0);
    }
}

// A model stays loaded between uses and is freed a minute after the last one ended.
TEST(WhisperEngine, FreesAnIdleModelAfterAMinute) {
    ManualClock clock;
    Clock::install(&clock);
    ModelFolder folder;
    folder.addTiny(QStringLiteral("ggml-tiny.bin"));
    WhisperEngine engine(folder.path());

    EXPECT_FALSE(engine.isLoaded());
    engine.open(QStringLiteral("pt-br")).reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(engine.isLoaded());
    clock.advance(std::chrono::seconds(59));
    EXPECT_TRUE(engine.isLoaded());

    // Used again before the minute is up: the minute starts over when that use ends.
    {
        auto recognizer = engine.open(QStringLiteral("pt-br"));
        clock.advance(std::chrono::seconds(30));
        EXPECT_TRUE(engine.isLoaded());
    }
    QCoreApplication::processEvents();
    clock.advance(std::chrono::seconds(59));
    EXPECT_TRUE(engine.isLoaded());
    clock.advance(std::chrono::seconds(2));
    EXPECT_FALSE(engine.isLoaded());

    // And comes back on the next use.
    auto recognizer = engine.open(QStringLiteral("pt-br"));
    EXPECT_TRUE(engine.isLoaded());
    Clock::install(nullptr);
}

// The transcription's thread may hold the engine last (the voice controller let go of it
// meanwhile): the idle timer is still stopped on the main thread, where it was made.
TEST(WhisperEngine, TheLastOwnerMayBeAnotherThread) {
    static QStringList warnings;
    warnings.clear();
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    {
        ModelFolder folder;
        folder.addTiny(QStringLiteral("ggml-tiny.bin"));
        auto engine = std::make_shared<WhisperEngine>(folder.path());
        engine->open(QStringLiteral("pt-br")).reset();
        QCoreApplication::processEvents(); // the idle timer is armed
        std::thread([last = std::move(engine)]() mutable { last.reset(); }).join();
        QCoreApplication::processEvents();
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
}
