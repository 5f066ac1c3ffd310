#pragma once

#include <QByteArray>
#include <QString>

namespace nolvea::test {

// A whisper model in the real ggml file format with random weights: the architecture's
// tensors in a few narrow layers. It decodes (into random words) as fast as a model can.
struct TinyWhisperModel {
    bool multilingual = true; // false: an English-only (".en") vocabulary
    int state = 64;
    int heads = 2;
    int audioLayers = 2;
    int textLayers = 2;
    int textContext = 448; // as every real model: the prompt takes up to half
    unsigned seed = 7;

    QByteArray bytes() const;
    // Writes the model to `path` (parent folders made); false when it can't.
    bool write(const QString& path) const;

    // The default tiny model, multilingual or English-only, in the build folder.
    static QString sharedPath(bool multilingual = true);
};

} // namespace nolvea::test
