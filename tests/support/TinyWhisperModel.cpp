#include "support/TinyWhisperModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFloat16>
#include <QSaveFile>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace nolvea::test {

namespace {

constexpr uint32_t kMagic = 0x67676d6c; // "ggml"
constexpr int kAudioContext = 1500;     // 30 s windows, as every real model
constexpr int kMels = 80;
constexpr int kFft = 201;
enum Type : int32_t { f32 = 0, f16 = 1 };

class Writer {
public:
    explicit Writer(unsigned seed)
        : m_random(seed) {}

    void i32(int32_t v) { m_out.append(reinterpret_cast<const char*>(&v), sizeof v); }
    void u32(uint32_t v) { m_out.append(reinterpret_cast<const char*>(&v), sizeof v); }
    void f32v(float v) { m_out.append(reinterpret_cast<const char*>(&v), sizeof v); }
    void text(const std::string& s) {
        i32(int32_t(s.size()));
        m_out.append(s.data(), qsizetype(s.size()));
    }

    // One tensor: `ne` innermost first; weights random, norms one, biases zero.
    void tensor(const std::string& name, std::vector<int32_t> ne, Type type, float fill = -1) {
        i32(int32_t(ne.size()));
        i32(int32_t(name.size()));
        i32(type);
        int64_t n = 1;
        for (int32_t d : ne) {
            i32(d);
            n *= d;
        }
        m_out.append(name.data(), qsizetype(name.size()));
        std::normal_distribution<float> weight(0.0f, 0.2f);
        for (int64_t i = 0; i < n; ++i) {
            const float v = fill >= 0 ? fill : weight(m_random);
            if (type == f16) {
                const qfloat16 h(v);
                m_out.append(reinterpret_cast<const char*>(&h), sizeof h);
            } else {
                f32v(v);
            }
        }
    }

    QByteArray take() { return std::move(m_out); }

private:
    QByteArray m_out;
    std::mt19937 m_random;
};

// Text tokens: the first 256 are letters (and the blank where real vocabularies have it), the rest
// syllables, some with a leading blank so that decoded text falls into words.
std::string token(int i) {
    static const char* const consonants = "bcdfglmnprstvz";
    static const char* const vowels = "aeiou";
    if (i == 220) return " "; // the decoder suppresses this one by name
    if (i < 256) return std::string(1, char('a' + i % 26));
    std::string s = i % 3 == 0 ? " " : "";
    int k = i;
    do {
        s += consonants[k % 14];
        s += vowels[(k / 14) % 5];
        k /= 70;
    } while (k > 0);
    return s;
}

void layer(Writer& w, const std::string& prefix, int s, bool cross) {
    auto block = [&](const std::string& p) {
        w.tensor(p + "_ln.weight", {s}, f32, 1.0f);
        w.tensor(p + "_ln.bias", {s}, f32, 0.0f);
        w.tensor(p + ".query.weight", {s, s}, f16);
        w.tensor(p + ".query.bias", {s}, f32, 0.0f);
        w.tensor(p + ".key.weight", {s, s}, f16);
        w.tensor(p + ".value.weight", {s, s}, f16);
        w.tensor(p + ".value.bias", {s}, f32, 0.0f);
        w.tensor(p + ".out.weight", {s, s}, f16);
        w.tensor(p + ".out.bias", {s}, f32, 0.0f);
    };
    block(prefix + "attn");
    if (cross) block(prefix + "cross_attn");
    w.tensor(prefix + "mlp_ln.weight", {s}, f32, 1.0f);
    w.tensor(prefix + "mlp_ln.bias", {s}, f32, 0.0f);
    w.tensor(prefix + "mlp.0.weight", {s, 4 * s}, f16);
    w.tensor(prefix + "mlp.0.bias", {4 * s}, f32, 0.0f);
    w.tensor(prefix + "mlp.2.weight", {4 * s, s}, f16);
    w.tensor(prefix + "mlp.2.bias", {s}, f32, 0.0f);
}

} // namespace

QByteArray TinyWhisperModel::bytes() const {
    const int vocabulary = multilingual ? 51865 : 51864;
    const int textTokens = multilingual ? 50257 : 50256; // the rest are special tokens
    Writer w(seed);
    w.u32(kMagic);
    for (int32_t v : {vocabulary, kAudioContext, state, heads, audioLayers, textContext, state,
                      heads, textLayers, kMels, int32_t(f16)})
        w.i32(v);

    w.i32(kMels);
    w.i32(kFft);
    for (int m = 0; m < kMels; ++m)
        for (int f = 0; f < kFft; ++f)
            w.f32v(f >= m * 2 && f < m * 2 + 3 ? 0.5f : 0.0f);

    w.i32(textTokens);
    for (int i = 0; i < textTokens; ++i)
        w.text(token(i));

    const int s = state;
    w.tensor("encoder.positional_embedding", {s, kAudioContext}, f32);
    w.tensor("encoder.conv1.weight", {3, kMels, s}, f16);
    w.tensor("encoder.conv1.bias", {1, s}, f32, 0.0f);
    w.tensor("encoder.conv2.weight", {3, s, s}, f16);
    w.tensor("encoder.conv2.bias", {1, s}, f32, 0.0f);
    for (int i = 0; i < audioLayers; ++i)
        layer(w, "encoder.blocks." + std::to_string(i) + ".", s, false);
    w.tensor("encoder.ln_post.weight", {s}, f32, 1.0f);
    w.tensor("encoder.ln_post.bias", {s}, f32, 0.0f);

    w.tensor("decoder.positional_embedding", {s, textContext}, f32);
    w.tensor("decoder.token_embedding.weight", {s, vocabulary}, f16);
    for (int i = 0; i < textLayers; ++i)
        layer(w, "decoder.blocks." + std::to_string(i) + ".", s, true);
    w.tensor("decoder.ln.weight", {s}, f32, 1.0f);
    w.tensor("decoder.ln.bias", {s}, f32, 0.0f);
    return w.take();
}

bool TinyWhisperModel::write(const QString& path) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray data = bytes();
    return file.write(data) == data.size();
}

QString TinyWhisperModel::sharedPath(bool multilingual) {
    // In the build folder: the test programs leave without running static destructors, so a
    // temporary folder of their own would stay behind. Written whole under its final name, as
    // several programs may want it at once.
    const QString path = QStringLiteral(NOLVEA_BINARY_DIR "/tests/whisper-models/") +
                         (multilingual ? QStringLiteral("ggml-tiny-test.bin")
                                       : QStringLiteral("ggml-tiny-test.en.bin"));
    TinyWhisperModel model;
    model.multilingual = multilingual;
    const QByteArray data = model.bytes();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == data) return path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(data);
        file.commit();
    }
    return path;
}

} // namespace nolvea::test
