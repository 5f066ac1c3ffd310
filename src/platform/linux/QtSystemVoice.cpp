#include "platform/linux/QtSystemVoice.h"

#include <QTextToSpeech>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace nolvea {

namespace {

const QString kBrazil = QStringLiteral("pt-BR");

// The synthesizer's locale for `localeID`: the same, else one of the same language.
std::optional<QLocale> synthesizerLocale(const QTextToSpeech& tts, const QString& localeID) {
    const QLocale wanted(localeID);
    const auto locales = tts.availableLocales();
    if (locales.contains(wanted)) return wanted;
    for (const QLocale& l : locales)
        if (l.language() == wanted.language()) return l;
    return std::nullopt;
}

} // namespace

QtSystemVoice::QtSystemVoice() = default;

QtSystemVoice::~QtSystemVoice() {
    m_done = nullptr;
    if (m_tts) m_tts->stop();
}

// Made at the first use, not at launch: connecting starts speech-dispatcher and waits for it,
// about a second that start-up and the first hotkey press should not pay.
QTextToSpeech& QtSystemVoice::tts() {
    if (m_tts) return *m_tts;
    m_tts = std::make_unique<QTextToSpeech>();
    if (const auto brazil = synthesizerLocale(*m_tts, kBrazil)) m_tts->setLocale(*brazil);
    QObject::connect(m_tts.get(), &QTextToSpeech::stateChanged, this,
                     [this](QTextToSpeech::State s) {
                         if (s == QTextToSpeech::Speaking) m_started = true;
                         if ((s == QTextToSpeech::Ready && m_started) || s == QTextToSpeech::Error)
                             finish();
                     });
    return *m_tts;
}

void QtSystemVoice::finish() {
    m_started = false;
    if (auto done = std::exchange(m_done, nullptr)) done();
}

std::vector<SystemVoice::Voice> QtSystemVoice::offered(const QStringList& names,
                                                       const QString& localeID) {
    const QString country = QLocale::territoryToString(QLocale(localeID).territory());
    std::vector<Voice> own, others;
    for (const QString& name : names) {
        if (name.contains(u'+')) continue;
        // espeak-ng's voices are small formant synthesizers.
        (name.contains(country) ? own : others).push_back({name, name, Quality::compact});
    }
    own.insert(own.end(), others.begin(), others.end());
    return own;
}

std::vector<SystemVoice::Voice> QtSystemVoice::voices(const QString& localeID) {
    if (const auto known = m_voices.find(localeID); known != m_voices.end()) return known->second;
    std::vector<Voice> found;
    tts();
    if (const auto locale = synthesizerLocale(*m_tts, localeID)) {
        const QLocale before = m_tts->locale();
        const QVoice voice = m_tts->voice();
        m_tts->setLocale(*locale);
        QStringList names;
        for (const QVoice& v : m_tts->availableVoices())
            names << v.name();
        m_tts->setLocale(before);
        m_tts->setVoice(voice);
        found = offered(names, localeID);
    }
    m_voices[localeID] = found;
    return found;
}

QString QtSystemVoice::voiceName() {
    return tts().voice().name();
}

bool QtSystemVoice::use(const QString& name) {
    if (name.isEmpty()) return false;
    auto take = [&] {
        for (const QVoice& v : m_tts->availableVoices())
            if (v.name() == name) {
                m_tts->setVoice(v);
                return true;
            }
        return false;
    };
    if (take()) return true;
    // A voice of another language than the last one spoken.
    const QLocale before = m_tts->locale();
    for (const QLocale& l : m_tts->availableLocales()) {
        if (l == before) continue;
        m_tts->setLocale(l);
        if (take()) return true;
    }
    m_tts->setLocale(before);
    return false;
}

void QtSystemVoice::choose(const QString& voiceID) {
    if (use(voiceID)) return;
    // Automatic: the best voice of Brazilian Portuguese, not the engine's default for the
    // language (espeak-ng's is the one of Portugal).
    if (const auto brazil = synthesizerLocale(*m_tts, kBrazil)) m_tts->setLocale(*brazil);
    const auto best = voices(kBrazil);
    if (!best.empty()) use(best.front().identifier);
}

void QtSystemVoice::speak(const QString& text, const QString& voiceID, double rate,
                          std::function<void()> done) {
    stop();
    m_done = std::move(done);
    if (tts().state() == QTextToSpeech::Error) {
        // No synthesizer: end at once, on a later turn of the loop.
        QTimer::singleShot(0, this, [this] { finish(); });
        return;
    }
    choose(voiceID);
    // 1 is the normal pace; QTextToSpeech counts from -1 to 1 around 0.
    m_tts->setRate(std::clamp(rate > 0 ? rate - 1.0 : 0.0, -1.0, 1.0));
    m_started = false;
    m_tts->say(text);
}

void QtSystemVoice::stop() {
    const bool pending = bool(m_done);
    if (m_tts) m_tts->stop();
    if (pending) finish();
}

bool QtSystemVoice::isSpeaking() const {
    return m_tts && m_tts->state() == QTextToSpeech::Speaking;
}

} // namespace nolvea
