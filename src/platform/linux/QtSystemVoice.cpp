#include "platform/linux/QtSystemVoice.h"

#include <QTextToSpeech>
#include <QTimer>

#include <algorithm>

namespace nolvea {

QtSystemVoice::QtSystemVoice()
    : m_tts(std::make_unique<QTextToSpeech>()) {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    if (m_tts->availableLocales().contains(brazil))
        m_tts->setLocale(brazil);
    else
        m_tts->setLocale(QLocale(QLocale::Portuguese));
    QObject::connect(m_tts.get(), &QTextToSpeech::stateChanged, this,
                     [this](QTextToSpeech::State s) {
                         if (s == QTextToSpeech::Speaking) m_started = true;
                         if ((s == QTextToSpeech::Ready && m_started) || s == QTextToSpeech::Error)
                             finish();
                     });
}

QtSystemVoice::~QtSystemVoice() {
    m_done = nullptr;
    m_tts->stop();
}

void QtSystemVoice::finish() {
    m_started = false;
    if (auto done = std::exchange(m_done, nullptr)) done();
}

QStringList QtSystemVoice::voiceNames() const {
    QStringList names;
    for (const QVoice& v : m_tts->availableVoices())
        names << v.name();
    return names;
}

void QtSystemVoice::speak(const QString& text, const QString& voiceID, double rate,
                          std::function<void()> done) {
    stop();
    m_done = std::move(done);
    if (m_tts->state() == QTextToSpeech::Error) {
        // No synthesizer: end at once, on a later turn of the loop.
        QTimer::singleShot(0, this, [this] { finish(); });
        return;
    }
    if (!voiceID.isEmpty()) {
        const auto voices = m_tts->availableVoices();
        const auto it = std::find_if(voices.begin(), voices.end(),
                                     [&](const QVoice& v) { return v.name() == voiceID; });
        if (it != voices.end()) m_tts->setVoice(*it);
    }
    // 1 is the normal pace; QTextToSpeech counts from -1 to 1 around 0.
    m_tts->setRate(std::clamp(rate > 0 ? rate - 1.0 : 0.0, -1.0, 1.0));
    m_started = false;
    m_tts->say(text);
}

void QtSystemVoice::stop() {
    const bool pending = bool(m_done);
    m_tts->stop();
    if (pending) finish();
}

bool QtSystemVoice::isSpeaking() const {
    return m_tts->state() == QTextToSpeech::Speaking;
}

} // namespace nolvea
