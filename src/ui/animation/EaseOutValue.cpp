#include "ui/animation/EaseOutValue.h"

#include <algorithm>

namespace nolvea {

double EaseOutValue::curve(double x) {
    x = std::clamp(x, 0.0, 1.0);
    // Solve the Bézier's x(s) = x by bisection, then read y(s).
    double lo = 0, hi = 1, s = x;
    for (int i = 0; i < 30; ++i) {
        s = (lo + hi) / 2;
        const double bx = 3 * (1 - s) * s * s * 0.58 + s * s * s;
        (bx < x ? lo : hi) = s;
    }
    return 3 * (1 - s) * s * s + s * s * s;
}

double EaseOutValue::value() const {
    if (m_elapsed >= m_duration || m_duration <= 0) return m_to;
    return m_from + (m_to - m_from) * curve(m_elapsed / m_duration);
}

void EaseOutValue::retarget(double target) {
    if (target == m_to) return;
    m_from = value();
    m_to = target;
    m_elapsed = 0;
}

void EaseOutValue::jump(double value) {
    m_from = m_to = value;
    m_elapsed = m_duration;
}

bool EaseOutValue::advance(double seconds) {
    m_elapsed = std::min(m_duration, m_elapsed + seconds);
    return m_elapsed < m_duration;
}

} // namespace nolvea
