#pragma once

namespace nolvea {

// One number moving to its target over a fixed time with the platform's ease-out curve,
// cubic Bézier (0, 0, 0.58, 1). A new target starts a new run from where it is.
class EaseOutValue {
public:
    explicit EaseOutValue(double value = 0, double duration = 0.12)
        : m_from(value)
        , m_to(value)
        , m_duration(duration)
        , m_elapsed(duration) {}

    double value() const;
    double target() const { return m_to; }
    void retarget(double target);
    void jump(double value);
    // Moves time forward; returns whether it still moves.
    bool advance(double seconds);

    // The curve: progress of the value at a fraction x of the time.
    static double curve(double x);

private:
    double m_from;
    double m_to;
    double m_duration;
    double m_elapsed;
};

} // namespace nolvea
