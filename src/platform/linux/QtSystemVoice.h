#pragma once

#include "platform/SystemVoice.h"

#include <QObject>

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

    // Names of the voices offered for Brazilian Portuguese.
    QStringList voiceNames() const;

private:
    void finish();

    std::unique_ptr<QTextToSpeech> m_tts;
    std::function<void()> m_done;
    bool m_started = false;
};

} // namespace nolvea
