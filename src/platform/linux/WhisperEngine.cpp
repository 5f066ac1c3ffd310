#include "platform/linux/WhisperEngine.h"

#include "platform/SpeechEngineError.h"
#include "platform/linux/WhisperModelFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include <whisper.h>

namespace nolvea {

namespace {

constexpr int kSampleRate = WHISPER_SAMPLE_RATE;

// "pt_BR.UTF-8" → "pt-br"; empty → English.
QString normalise(const QString& id) {
    QString s = id.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0).trimmed();
    s.replace(QLatin1Char('_'), QLatin1Char('-'));
    s = s.toLower();
    return s.isEmpty() ? QStringLiteral("en-us") : s;
}

QString languageOf(const QString& locale) {
    return locale.section(QLatin1Char('-'), 0, 0);
}

// The library writes its progress to standard error; the program has its own log.
void silenceLibrary() {
    static std::once_flag once;
    std::call_once(once,
                   [] { whisper_log_set([](ggml_log_level, const char*, void*) {}, nullptr); });
}

// Runs `fn` on the main thread, when there is one.
void post(std::function<void()> fn) {
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

// Half the cores, at most four, and no more than are idle now: the decoder's threads meet at
// every step, and one that the system holds back stalls all the others.
int defaultThreads() {
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    int threads = std::clamp(cores / 2, 1, 4);
    double load = 0;
    if (getloadavg(&load, 1) == 1) threads = std::min(threads, cores - int(std::ceil(load)));
    return std::max(threads, 1);
}

struct Model {
    whisper_context* context = nullptr;
    ~Model() {
        if (context) whisper_free(context);
    }
};

std::shared_ptr<Model> load(const QString& path) {
    WhisperModelFile::Fault fault{};
    if (!WhisperModelFile::check(path, &fault))
        throw SpeechEngineError(WhisperModelFile::describe(fault, path));
    whisper_context_params params = whisper_context_default_params();
    params.use_gpu = false;
    params.flash_attn = false;
    auto model = std::make_shared<Model>();
    try {
        model->context = whisper_init_from_file_with_params_no_state(
            QFile::encodeName(path).constData(), params);
    } catch (const std::exception&) {
        model->context = nullptr;
    }
    if (!model->context)
        throw SpeechEngineError(WhisperModelFile::describe(WhisperModelFile::Fault::corrupt, path));
    return model;
}

// What identifies one version of a model file: a file replaced in place is loaded anew.
QString fileKey(const QString& path) {
    const QFileInfo info(path);
    return path + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|') +
           QString::number(info.lastModified().toMSecsSinceEpoch());
}

} // namespace

// The one model in memory, shared by the engine and its recognizers.
struct WhisperEngine::Cache : std::enable_shared_from_this<Cache> {
    explicit Cache(Clock::Duration idle)
        : idlePeriod(idle) {}

    // The last owner may be a transcription's thread; the timer belongs to the main one.
    ~Cache() {
        auto* app = QCoreApplication::instance();
        if (timer && app && QThread::currentThread() != app->thread())
            post([dropped = std::shared_ptr<ClockTimer>(std::move(timer))] {});
    }

    std::shared_ptr<Model> acquire(const QString& path) {
        std::lock_guard lock(mutex);
        const QString key = fileKey(path);
        if (!model || modelKey != key) {
            model.reset();
            model = load(path);
            modelKey = key;
        }
        ++inUse;
        return model;
    }

    void release() {
        {
            std::lock_guard lock(mutex);
            --inUse;
            lastRelease = Clock::shared().uptime();
        }
        post([weak = weak_from_this()] {
            if (auto self = weak.lock()) self->arm();
        });
    }

    // Main thread.
    void arm() {
        timer = Clock::shared().schedule(idlePeriod, false, [this] { sweep(); });
    }

    void sweep() {
        std::lock_guard lock(mutex);
        if (inUse == 0 && Clock::shared().uptime() - lastRelease >= idlePeriod) {
            model.reset();
            modelKey.clear();
        }
    }

    const Clock::Duration idlePeriod;
    mutable std::mutex mutex;
    std::shared_ptr<Model> model;
    QString modelKey;
    int inUse = 0;
    Clock::Duration lastRelease{0};
    std::unique_ptr<ClockTimer> timer; // main thread only
};

namespace {

class WhisperRecognizer final : public SpeechRecognizer {
public:
    WhisperRecognizer(std::shared_ptr<WhisperEngine::Cache> cache, std::shared_ptr<Model> model,
                      QString language, WhisperEngine::Options options)
        : m_cache(cache)
        , m_model(std::move(model))
        , m_language(language.toUtf8())
        , m_options(options) {
        m_state = whisper_init_state(m_model->context);
        if (!m_state) {
            cache->release();
            throw SpeechEngineError(QStringLiteral("Não há memória para o reconhecimento de voz."));
        }
        if (m_options.threads <= 0) m_options.threads = defaultThreads();
    }

    ~WhisperRecognizer() override {
        whisper_free_state(m_state);
        m_model.reset();
        if (auto cache = m_cache.lock()) cache->release();
    }

    AudioFormat format() const override { return {kSampleRate, 1, AudioFormat::Sample::float32}; }

    bool setVocabulary(const QStringList& words) override {
        QStringList kept;
        for (const QString& w : words)
            if (!w.trimmed().isEmpty()) kept << w.trimmed();
        // The decoder reads the prompt as text said before: the words, as a list.
        m_prompt = kept.join(QStringLiteral(", ")).toUtf8();
        return !kept.isEmpty();
    }

    void start() override {
        m_audio.clear();
        m_partialAt = 0;
        m_partialEnded.reset();
        m_shown.clear();
    }

    void process(const AudioBuffer& buffer, std::vector<SpeechResult>& results) override {
        const auto* samples = reinterpret_cast<const float*>(buffer.data.constData());
        m_audio.insert(m_audio.end(), samples, samples + buffer.frames());
        if (!partialIsDue()) return;
        const auto started = std::chrono::steady_clock::now();
        m_partialAt = m_audio.size();
        const auto text = decode(m_audio);
        const auto ended = std::chrono::steady_clock::now();
        m_partialEnded = ended;
        m_partialTook = std::chrono::duration_cast<Clock::Duration>(ended - started);
        if (text && !text->isEmpty() && *text != m_shown) {
            m_shown = *text;
            results.push_back({*text, false});
        }
    }

    void finish(std::vector<SpeechResult>& results) override {
        if (m_audio.empty()) return;
        const auto text = decode(m_audio);
        if (!text) throw SpeechEngineError(QStringLiteral("A transcrição do whisper falhou."));
        if (!text->isEmpty()) results.push_back({*text, true});
    }

private:
    // Enough new audio, and enough time since the last decode (never more than half the time
    // spent decoding, so a slow machine still keeps up with the microphone).
    bool partialIsDue() const {
        const auto interval = size_t(m_options.partialInterval.count()) * kSampleRate / 1000;
        if (m_audio.size() < size_t(kSampleRate) || m_audio.size() - m_partialAt < interval)
            return false;
        if (!m_partialEnded) return true;
        const auto since = std::chrono::duration_cast<Clock::Duration>(
            std::chrono::steady_clock::now() - *m_partialEnded);
        return since >= std::max(m_options.partialInterval, m_partialTook);
    }

    std::optional<QString> decode(const std::vector<float>& audio) {
        whisper_full_params p = whisper_full_default_params(WHISPER_SAMPLING_GREEDY);
        p.n_threads = m_options.threads;
        p.language = m_language.constData();
        p.detect_language = false;
        p.translate = false;
        p.no_context = true;
        p.no_timestamps = true;
        p.single_segment = true;
        p.print_progress = false;
        p.print_realtime = false;
        p.print_special = false;
        p.print_timestamps = false;
        p.suppress_blank = true;
        if (!m_prompt.isEmpty()) {
            p.initial_prompt = m_prompt.constData();
            p.carry_initial_prompt = true; // every 30 s window, not only the first
        }
        // One greedy pass: retrying at higher temperatures can take several times as long,
        // and the person is waiting for the text.
        p.temperature_inc = 0.0f;
        try {
            if (whisper_full_with_state(m_model->context, m_state, p, audio.data(),
                                        int(audio.size())) != 0)
                return std::nullopt;
        } catch (const std::exception&) {
            return std::nullopt; // a vocabulary without the tokens the decoder looks up by name
        }
        QString text;
        const int n = whisper_full_n_segments_from_state(m_state);
        for (int i = 0; i < n; ++i)
            text += QString::fromUtf8(whisper_full_get_segment_text_from_state(m_state, i));
        return text.simplified();
    }

    std::weak_ptr<WhisperEngine::Cache> m_cache;
    std::shared_ptr<Model> m_model;
    QByteArray m_language;
    QByteArray m_prompt;
    WhisperEngine::Options m_options;
    whisper_state* m_state = nullptr;
    std::vector<float> m_audio;
    size_t m_partialAt = 0; // audio length at the last partial decode
    std::optional<std::chrono::steady_clock::time_point> m_partialEnded;
    Clock::Duration m_partialTook{0};
    QString m_shown;
};

} // namespace

WhisperEngine::WhisperEngine(QString modelFolder)
    : WhisperEngine(std::move(modelFolder), Options{}) {}

WhisperEngine::WhisperEngine(QString modelFolder, Options options)
    : m_folder(std::move(modelFolder))
    , m_options(options)
    , m_cache(std::make_shared<Cache>(options.idlePeriod)) {
    silenceLibrary();
}

WhisperEngine::~WhisperEngine() = default;

QString WhisperEngine::modelFor(const QString& localeID) const {
    const QString language = languageOf(normalise(localeID));
    if (whisper_lang_id(language.toUtf8().constData()) < 0) return {};
    const bool english = language == QLatin1String("en");
    QString broken;
    QString multilingual;
    for (const QFileInfo& f : QDir(m_folder).entryInfoList(
             {QStringLiteral("*.bin")}, QDir::Files | QDir::Readable, QDir::Name)) {
        const auto header = WhisperModelFile::peek(f.filePath());
        if (!header) {
            // Not a model we can read: still the one the user meant, when nothing else
            // serves, so that opening it says what is wrong with it.
            const bool englishOnly = f.fileName().contains(QLatin1String(".en."));
            if (broken.isEmpty() && (english || !englishOnly)) broken = f.filePath();
            continue;
        }
        if (header->isMultilingual()) {
            if (multilingual.isEmpty()) multilingual = f.filePath();
        } else if (english) {
            return f.filePath(); // an English-only model knows English best
        }
    }
    return !multilingual.isEmpty() ? multilingual : broken;
}

std::optional<QString> WhisperEngine::supportedLocale(const QString& localeID) {
    if (modelFor(localeID).isEmpty()) return std::nullopt;
    return normalise(localeID);
}

std::unique_ptr<SpeechRecognizer> WhisperEngine::open(const QString& locale) {
    const QString path = modelFor(locale);
    if (path.isEmpty())
        throw SpeechEngineError(QStringLiteral("Modelo de voz não encontrado para ") + locale +
                                QLatin1Char('.'));
    auto model = m_cache->acquire(path);
    return std::make_unique<WhisperRecognizer>(m_cache, std::move(model),
                                               languageOf(normalise(locale)), m_options);
}

bool WhisperEngine::isLoaded() const {
    std::lock_guard lock(m_cache->mutex);
    return bool(m_cache->model);
}

} // namespace nolvea
