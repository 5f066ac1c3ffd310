#pragma once

namespace nolvea {

// Spoken audio played back as its chunks arrive, one after another: when the first sound
// starts, how much silence falls between chunks because the next one came late, and when the
// queued audio runs out. Times in seconds from the start of the run.
class SpeechTimeline {
public:
    // A chunk that arrived at `arrival` and lasts `duration` (0 for one that failed).
    void add(double arrival, double duration) {
        if (m_chunks++ == 0) {
            m_firstSound = arrival;
            m_audioEnd = arrival + duration;
        } else if (m_audioEnd < arrival) {
            m_silence += arrival - m_audioEnd;
            m_audioEnd = arrival + duration;
        } else {
            m_audioEnd += duration;
        }
    }

    double firstSound() const { return m_firstSound; }
    double silence() const { return m_silence; }
    double speech() const { return m_audioEnd - m_firstSound; }
    int chunks() const { return m_chunks; }

private:
    double m_firstSound = 0;
    double m_audioEnd = 0;
    double m_silence = 0;
    int m_chunks = 0;
};

} // namespace nolvea
