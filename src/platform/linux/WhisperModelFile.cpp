#include "platform/linux/WhisperModelFile.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdint>
#include <set>
#include <string>

#include <ggml.h>

namespace nolvea {

namespace {

using Fault = WhisperModelFile::Fault;

// Past these no released model goes; a value outside is a damaged header, and trusting it
// would make the library allocate or index by it.
constexpr int kMaxVocabulary = 52000;
constexpr int kMaxAudioContext = 1500; // 30 s of audio
constexpr int kMaxTextContext = 4096;
constexpr int kMaxState = 8192;
constexpr int kMaxLayers = 128;
constexpr int kMaxTokenBytes = 1024;

struct Hyper {
    int32_t vocab, audioCtx, audioState, audioHead, audioLayer, textCtx, textState, textHead,
        textLayer, mels, ftype;
};

class Reader {
public:
    explicit Reader(QFile& file)
        : m_file(file) {}

    bool i32(int32_t& v) { return bytes(&v, sizeof v); }
    bool bytes(void* to, qint64 n) { return m_file.read(static_cast<char*>(to), n) == n; }
    bool skip(qint64 n) {
        if (n < 0 || m_file.pos() + n > m_file.size()) return false;
        return m_file.seek(m_file.pos() + n);
    }
    bool atEnd() const { return m_file.pos() == m_file.size(); }

private:
    QFile& m_file;
};

bool inRange(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

// The header up to the hyperparameters. `fault` says why not.
std::optional<Hyper> readHeader(Reader& in, Fault& fault) {
    uint32_t magic = 0;
    if (!in.bytes(&magic, sizeof magic)) {
        fault = Fault::notWhisper;
        return std::nullopt;
    }
    if (magic != GGML_FILE_MAGIC) {
        fault = Fault::notWhisper;
        return std::nullopt;
    }
    Hyper h{};
    for (int32_t* v : {&h.vocab, &h.audioCtx, &h.audioState, &h.audioHead, &h.audioLayer,
                       &h.textCtx, &h.textState, &h.textHead, &h.textLayer, &h.mels, &h.ftype})
        if (!in.i32(*v)) {
            fault = Fault::truncated;
            return std::nullopt;
        }
    const int32_t ftype = h.ftype % GGML_QNT_VERSION_FACTOR;
    const bool sane =
        inRange(h.vocab, 51864, kMaxVocabulary) && inRange(h.audioCtx, 1, kMaxAudioContext) &&
        inRange(h.audioState, 1, kMaxState) && inRange(h.audioHead, 1, 256) &&
        h.audioState % h.audioHead == 0 && inRange(h.audioLayer, 1, kMaxLayers) &&
        inRange(h.textCtx, 1, kMaxTextContext) && h.textState == h.audioState &&
        inRange(h.textHead, 1, 256) && h.textState % h.textHead == 0 &&
        inRange(h.textLayer, 1, kMaxLayers) && (h.mels == 80 || h.mels == 128) && h.ftype >= 0 &&
        ftype >= 0 && ggml_ftype_to_ggml_type(ggml_ftype(ftype)) != GGML_TYPE_COUNT;
    if (!sane) {
        fault = Fault::corrupt;
        return std::nullopt;
    }
    return h;
}

WhisperModelFile describe(const QString& path, const Hyper& h) {
    WhisperModelFile f;
    f.path = path;
    f.vocabularySize = h.vocab;
    f.audioLayers = h.audioLayer;
    f.textLayers = h.textLayer;
    f.state = h.audioState;
    return f;
}

// Every tensor: a known name, met once, with a type and shape whose data lies inside the file.
bool readTensors(Reader& in, const Hyper& h, Fault& fault) {
    const size_t expected = 11 + 15 * size_t(h.audioLayer) + 24 * size_t(h.textLayer);
    std::set<std::string> seen;
    while (!in.atEnd()) {
        int32_t dims = 0, nameLength = 0, type = 0;
        if (!in.i32(dims) || !in.i32(nameLength) || !in.i32(type)) {
            fault = Fault::truncated;
            return false;
        }
        if (!inRange(dims, 1, 4) || !inRange(nameLength, 1, 256) ||
            !inRange(type, 0, GGML_TYPE_COUNT - 1) || ggml_type_size(ggml_type(type)) == 0) {
            fault = Fault::corrupt;
            return false;
        }
        std::array<int32_t, 4> ne{1, 1, 1, 1};
        int64_t elements = 1;
        for (int i = 0; i < dims; ++i) {
            if (!in.i32(ne[size_t(i)])) {
                fault = Fault::truncated;
                return false;
            }
            if (!inRange(ne[size_t(i)], 1, 1 << 24)) {
                fault = Fault::corrupt;
                return false;
            }
            elements *= ne[size_t(i)];
        }
        std::string name(size_t(nameLength), '\0');
        if (!in.bytes(name.data(), nameLength)) {
            fault = Fault::truncated;
            return false;
        }
        const int64_t block = ggml_blck_size(ggml_type(type));
        if (block <= 0 || ne[0] % block != 0 || !seen.insert(name).second ||
            seen.size() > expected) {
            fault = Fault::corrupt;
            return false;
        }
        const int64_t size = elements / block * int64_t(ggml_type_size(ggml_type(type)));
        if (!in.skip(size)) {
            fault = Fault::truncated;
            return false;
        }
    }
    if (seen.size() != expected) {
        fault = Fault::truncated;
        return false;
    }
    return true;
}

std::optional<WhisperModelFile> read(const QString& path, bool whole, Fault* faultOut) {
    Fault fault = Fault::unreadable;
    auto fail = [&]() -> std::optional<WhisperModelFile> {
        if (faultOut) *faultOut = fault;
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail();
    Reader in(file);
    const auto h = readHeader(in, fault);
    if (!h) return fail();
    if (!whole) return describe(path, *h);

    int32_t mels = 0, fft = 0;
    if (!in.i32(mels) || !in.i32(fft)) {
        fault = Fault::truncated;
        return fail();
    }
    if (mels != h->mels || !inRange(fft, 1, 4096)) {
        fault = Fault::corrupt;
        return fail();
    }
    if (!in.skip(qint64(mels) * fft * qint64(sizeof(float)))) {
        fault = Fault::truncated;
        return fail();
    }
    int32_t tokens = 0;
    if (!in.i32(tokens)) {
        fault = Fault::truncated;
        return fail();
    }
    if (!inRange(tokens, 0, h->vocab)) {
        fault = Fault::corrupt;
        return fail();
    }
    for (int32_t i = 0; i < tokens; ++i) {
        int32_t length = 0;
        if (!in.i32(length)) {
            fault = Fault::truncated;
            return fail();
        }
        if (!inRange(length, 0, kMaxTokenBytes)) {
            fault = Fault::corrupt;
            return fail();
        }
        if (!in.skip(length)) {
            fault = Fault::truncated;
            return fail();
        }
    }
    if (!readTensors(in, *h, fault)) return fail();
    return describe(path, *h);
}

} // namespace

std::optional<WhisperModelFile> WhisperModelFile::peek(const QString& path, Fault* fault) {
    return read(path, false, fault);
}

std::optional<WhisperModelFile> WhisperModelFile::check(const QString& path, Fault* fault) {
    return read(path, true, fault);
}

QString WhisperModelFile::describe(Fault fault, const QString& path) {
    const QString name = QFileInfo(path).fileName();
    switch (fault) {
    case Fault::unreadable:
        return QStringLiteral("Não foi possível ler o modelo de voz ") + name + QLatin1Char('.');
    case Fault::notWhisper:
        return QStringLiteral("O arquivo ") + name +
               QStringLiteral(" não é um modelo whisper no formato ggml.");
    case Fault::corrupt:
        return QStringLiteral("O modelo de voz ") + name +
               QStringLiteral(" está corrompido. Baixe-o de novo.");
    case Fault::truncated:
        break;
    }
    return QStringLiteral("O modelo de voz ") + name +
           QStringLiteral(" está incompleto. Baixe-o de novo.");
}

} // namespace nolvea
