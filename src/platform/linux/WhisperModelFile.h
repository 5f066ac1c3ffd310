#pragma once

#include <QString>

#include <optional>

namespace nolvea {

// What a ggml whisper model file says about itself, read and checked without loading it. The
// decoder library trusts its input (a wrong size asserts, a short file leaves weights unread),
// so every file is walked to its end here first.
struct WhisperModelFile {
    enum class Fault { unreadable, notWhisper, corrupt, truncated };

    QString path;
    int vocabularySize = 0;
    int audioLayers = 0;
    int textLayers = 0;
    int state = 0;

    // Models with the full vocabulary know every language; the others only English.
    bool isMultilingual() const { return vocabularySize >= 51865; }

    // Only the header: whether the file looks like a whisper model and which languages it
    // serves. Cheap enough to call on every choice of engine.
    static std::optional<WhisperModelFile> peek(const QString& path, Fault* fault = nullptr);
    // The whole file: header, filters, vocabulary and every tensor, to the last byte.
    static std::optional<WhisperModelFile> check(const QString& path, Fault* fault = nullptr);

    // The Portuguese description of a fault of the file at `path`.
    static QString describe(Fault fault, const QString& path);
};

} // namespace nolvea
