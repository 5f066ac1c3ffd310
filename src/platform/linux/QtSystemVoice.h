#pragma once

#include "platform/SystemVoice.h"

#include <QObject>

#include <map>
#include <memory>

class QTextToSpeech;

namespace nolvea {

// The desktop's speech synthesizer through QTextToSpeech (speech-dispatcher, whose espeak-ng
// speaks Brazilian Portuguese).
class QtSystemVoice final : public QObject, public SystemVoice {
public:
    QtSystemVoice();
    ~QtSystemVoice() override;

    void speak(const QString& text, const QString& voiceID, double rate,
               std::function<void()> done) override;
    void stop() override;
    bool isSpeaking() const override;
    // The voices are named by the synthesizer; a name is also the identifier.
    std::vector<Voice> voices(const QString& localeID) override;

    // Which of the synthesizer's voices of a locale are offered, best first: espeak-ng's
    // "+variant" voices are one voice with another pitch and timbre, so only the voices
    // themselves are kept, those of the locale's own country first.
    static std::vector<Voice> offered(const QStringList& names, const QString& localeID);
    // The name of the voice the next speech uses.
    QString voiceName();

private:
    QTextToSpeech& tts();
    void finish();
    void choose(const QString& voiceID);
    bool use(const QString& name);

    std::unique_ptr<QTextToSpeech> m_tts;
    std::function<void()> m_done;
    bool m_started = false;
    std::map<QString, std::vector<Voice>> m_voices; // by locale, asked once
};

} // namespace nolvea
