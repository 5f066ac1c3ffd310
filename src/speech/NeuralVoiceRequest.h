#pragma once

#include "core/NeuralVoice.h"

#include <QList>
#include <QPair>
#include <QString>

namespace nolvea {

// The fixed fields a voice sends to the neural speech server, and its name on screen.
class NeuralVoiceRequest {
public:
    static QList<QPair<QString, QString>> fields(NeuralVoice voice);
    static QString label(NeuralVoice voice);
    // Whether the server takes a speaking speed for this voice.
    static bool takesSpeed(NeuralVoice voice);
};

} // namespace nolvea
