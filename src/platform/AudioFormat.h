#pragma once

namespace nolvea {

// The shape of interleaved PCM audio.
struct AudioFormat {
    enum class Sample { int16, float32 };

    int sampleRate = 0;
    int channels = 0;
    Sample sample = Sample::float32;

    bool isValid() const { return sampleRate > 0 && channels > 0; }
    int bytesPerSample() const { return sample == Sample::int16 ? 2 : 4; }
    int bytesPerFrame() const { return bytesPerSample() * channels; }

    friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

} // namespace nolvea
