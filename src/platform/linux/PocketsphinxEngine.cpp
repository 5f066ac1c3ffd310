#include "platform/linux/PocketsphinxEngine.h"

#include "platform/SpeechEngineError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include <pocketsphinx.h>
#include <sphinxbase/ckd_alloc.h>

namespace nolvea {

namespace {

// The library keeps one log file for the whole process and swaps it as decoders come and
// go: they are made and freed one at a time.
std::mutex libraryMutex;

struct Model {
    QString hmm, lm, dict;
    bool isComplete() const { return !hmm.isEmpty() && !lm.isEmpty() && !dict.isEmpty(); }
};

Model findModel(const QString& folder) {
    Model m;
    QDir dir(folder);
    for (const QFileInfo& e :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString name = e.fileName();
        if (e.isDir() && QFileInfo::exists(e.filePath() + QStringLiteral("/mdef")))
            m.hmm = e.filePath();
        else if (e.isFile() && !name.contains(QLatin1String("-phone")) &&
                 (name.endsWith(QLatin1String(".lm.bin")) || name.endsWith(QLatin1String(".lm")) ||
                  name.endsWith(QLatin1String(".lm.DMP"))))
            m.lm = e.filePath();
        else if (e.isFile() &&
                 (name.endsWith(QLatin1String(".dict")) || name.endsWith(QLatin1String(".dic"))))
            m.dict = e.filePath();
    }
    return m;
}

// "pt_BR.UTF-8" → "pt-br"; empty → the built-in default.
QString normalise(const QString& id) {
    QString s = id.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0).trimmed();
    s.replace(QLatin1Char('_'), QLatin1Char('-'));
    s = s.toLower();
    return s.isEmpty() ? QStringLiteral("en-us") : s;
}

} // namespace

struct PocketsphinxEngine::Pool {
    std::mutex mutex;
    std::map<QString, std::vector<ps_decoder_t*>> idle;

    ~Pool() {
        std::lock_guard lock(libraryMutex);
        for (auto& [locale, decoders] : idle)
            for (ps_decoder_t* d : decoders)
                ps_free(d);
    }

    ps_decoder_t* take(const QString& locale) {
        std::lock_guard lock(mutex);
        auto& list = idle[locale];
        if (list.empty()) return nullptr;
        ps_decoder_t* d = list.back();
        list.pop_back();
        return d;
    }

    void give(const QString& locale, ps_decoder_t* d) {
        std::lock_guard lock(mutex);
        idle[locale].push_back(d);
    }
};

namespace {

ps_decoder_t* makeDecoder(const Model& model) {
    std::lock_guard lock(libraryMutex);
    const QByteArray hmm = QFile::encodeName(model.hmm), lm = QFile::encodeName(model.lm),
                     dict = QFile::encodeName(model.dict);
    cmd_ln_t* config =
        cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.constData(), "-lm", lm.constData(),
                    "-dict", dict.constData(), "-logfn", "/dev/null", nullptr);
    if (!config) return nullptr;
    ps_decoder_t* d = ps_init(config);
    cmd_ln_free_r(config);
    return d;
}

class PocketsphinxRecognizer final : public SpeechRecognizer {
public:
    PocketsphinxRecognizer(std::shared_ptr<PocketsphinxEngine::Pool> pool, QString locale,
                           ps_decoder_t* decoder)
        : m_pool(std::move(pool))
        , m_locale(std::move(locale))
        , m_key(m_locale)
        , m_ps(decoder) {}

    ~PocketsphinxRecognizer() override {
        if (m_inUtterance) ps_end_utt(m_ps);
        m_pool->give(m_key, m_ps);
    }

    AudioFormat format() const override { return {16000, 1, AudioFormat::Sample::int16}; }

    bool setVocabulary(const QStringList& words) override {
        // Known words need nothing; a new word made of known parts ("PostgreSQL-Admin",
        // "nolveaBot") gets their pronunciations in a row.
        std::vector<std::pair<QByteArray, QByteArray>> additions;
        bool used = false;
        for (const QString& phrase : words) {
            for (const QString& token :
                 phrase.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
                const QByteArray word = token.toLower().toUtf8();
                if (lookup(word)) {
                    used = true;
                    continue;
                }
                const auto phones = composedPhones(token);
                if (phones.isEmpty()) continue;
                additions.emplace_back(word, phones);
            }
        }
        if (additions.empty()) return used;
        // Added words stay in a decoder: it goes back to the pool under a key of its own, and
        // a later run with the same words takes it again instead of adding them once more.
        std::sort(additions.begin(), additions.end());
        QString key = m_locale;
        for (const auto& a : additions)
            key += QLatin1Char('|') + QString::fromUtf8(a.first);
        if (ps_decoder_t* ready = m_pool->take(key)) {
            m_pool->give(m_key, m_ps);
            m_ps = ready;
            m_key = key;
            return true;
        }
        m_key = key;
        for (size_t i = 0; i < additions.size(); ++i) {
            const bool last = i + 1 == additions.size();
            if (ps_add_word(m_ps, additions[i].first.constData(), additions[i].second.constData(),
                            last ? TRUE : FALSE) >= 0)
                used = true;
        }
        return used;
    }

    void start() override {
        // A new recording: the noise level and loudness a pooled decoder learnt from an
        // earlier one must not colour this one.
        ps_start_stream(m_ps);
        if (ps_start_utt(m_ps) < 0)
            throw SpeechEngineError(QStringLiteral("O reconhecimento de voz não pôde começar."));
        m_inUtterance = true;
    }

    void process(const AudioBuffer& buffer, std::vector<SpeechResult>& results) override {
        if (!m_inUtterance) return;
        const auto* samples = reinterpret_cast<const int16*>(buffer.data.constData());
        ps_process_raw(m_ps, samples, size_t(buffer.frames()), FALSE, FALSE);
        const bool inSpeech = ps_get_in_speech(m_ps);
        if (inSpeech) m_heardSpeech = true;
        if (!inSpeech && m_heardSpeech) {
            // A pause ends a phrase: settle it and go on with a new one.
            settle(results);
            m_heardSpeech = false;
            if (ps_start_utt(m_ps) >= 0) m_inUtterance = true;
            return;
        }
        const QString guess = hypothesis();
        if (guess != m_guess) {
            m_guess = guess;
            if (!guess.isEmpty()) results.push_back({guess, false});
        }
    }

    void finish(std::vector<SpeechResult>& results) override {
        if (m_inUtterance) settle(results);
    }

private:
    bool lookup(const QByteArray& word) {
        char* phones = ps_lookup_word(m_ps, word.constData());
        if (!phones) return false;
        ckd_free(phones);
        return true;
    }

    QByteArray composedPhones(const QString& token) {
        static const QRegularExpression parts(
            QStringLiteral("[A-Z]?[a-z]+|[A-Z]+(?![a-z])|[a-z]+"));
        QByteArray all;
        auto it = parts.globalMatch(token);
        int count = 0;
        while (it.hasNext()) {
            const QByteArray part = it.next().captured().toLower().toUtf8();
            char* phones = ps_lookup_word(m_ps, part.constData());
            if (!phones) return {};
            if (!all.isEmpty()) all += ' ';
            all += phones;
            ckd_free(phones);
            ++count;
        }
        return count > 0 ? all : QByteArray();
    }

    QString hypothesis() {
        int32 score = 0;
        const char* hyp = ps_get_hyp(m_ps, &score);
        return hyp ? QString::fromUtf8(hyp).trimmed() : QString();
    }

    void settle(std::vector<SpeechResult>& results) {
        ps_end_utt(m_ps);
        m_inUtterance = false;
        const QString text = hypothesis();
        m_guess.clear();
        if (!text.isEmpty()) results.push_back({text, true});
    }

    std::shared_ptr<PocketsphinxEngine::Pool> m_pool;
    QString m_locale;
    QString m_key; // the pool entry this decoder returns to
    ps_decoder_t* m_ps;
    bool m_inUtterance = false;
    bool m_heardSpeech = false;
    QString m_guess;
};

} // namespace

PocketsphinxEngine::PocketsphinxEngine(QStringList modelRoots)
    : m_roots(std::move(modelRoots))
    , m_pool(std::make_shared<Pool>()) {}

PocketsphinxEngine::~PocketsphinxEngine() = default;

QString PocketsphinxEngine::modelFolder(const QString& locale) const {
    for (const QString& root : m_roots) {
        const QString folder = root + QLatin1Char('/') + locale;
        if (findModel(folder).isComplete()) return folder;
    }
    return {};
}

std::optional<QString> PocketsphinxEngine::supportedLocale(const QString& localeID) {
    const QString wanted = normalise(localeID);
    if (!modelFolder(wanted).isEmpty()) return wanted;
    if (!wanted.contains(QLatin1Char('-'))) {
        // A bare language takes the first region that has a model.
        for (const QString& root : m_roots)
            for (const QString& name :
                 QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
                if (name.startsWith(wanted + QLatin1Char('-')) && !modelFolder(name).isEmpty())
                    return name;
    }
    return std::nullopt;
}

std::unique_ptr<SpeechRecognizer> PocketsphinxEngine::open(const QString& locale) {
    ps_decoder_t* d = m_pool->take(locale);
    if (!d) {
        const QString folder = modelFolder(locale);
        if (folder.isEmpty())
            throw SpeechEngineError(QStringLiteral("Modelo de voz não encontrado para ") + locale +
                                    QLatin1Char('.'));
        d = makeDecoder(findModel(folder));
        if (!d)
            throw SpeechEngineError(
                QStringLiteral("Não foi possível carregar o modelo de voz de ") + locale +
                QLatin1Char('.'));
    }
    return std::make_unique<PocketsphinxRecognizer>(m_pool, locale, d);
}

void PocketsphinxEngine::preload(const QString& locale) {
    open(locale); // the recognizer hands its decoder back to the pool at once
}

} // namespace nolvea
