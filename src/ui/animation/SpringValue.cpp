#include "ui/animation/SpringValue.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace nolvea {

namespace {
constexpr double kStep = 1.0 / 1000.0;
constexpr double kRestDistance = 1e-4;
constexpr double kRestVelocity = 1e-3;
} // namespace

SpringValue::SpringValue(double value, SpringSpec spec)
    : m_value(value)
    , m_target(value)
    , m_spec(spec) {}

double SpringValue::stiffness(const SpringSpec& spec) {
    const double w = 2 * std::numbers::pi / std::max(spec.response, 1e-3);
    return w * w;
}

double SpringValue::damping(const SpringSpec& spec) {
    return 4 * std::numbers::pi * spec.dampingFraction / std::max(spec.response, 1e-3);
}

void SpringValue::retarget(double target, const SpringSpec& spec) {
    m_target = target;
    m_spec = spec;
}

void SpringValue::jump(double value) {
    m_value = value;
    m_target = value;
    m_velocity = 0;
}

void SpringValue::setState(double value, double velocity) {
    m_value = value;
    m_velocity = velocity;
}

bool SpringValue::advance(double seconds) {
    if (isSettled()) {
        m_value = m_target;
        m_velocity = 0;
        return false;
    }
    // Every spring of the screens settles within a few seconds.
    if (seconds > 30) {
        jump(m_target);
        return false;
    }
    const double k = stiffness(m_spec);
    const double c = damping(m_spec);
    // Semi-implicit Euler in small fixed steps: stable for every spring the views use.
    double left = std::max(0.0, seconds);
    while (left > 0) {
        const double dt = std::min(kStep, left);
        const double a = -k * (m_value - m_target) - c * m_velocity;
        m_velocity += a * dt;
        m_value += m_velocity * dt;
        left -= dt;
    }
    if (isSettled()) {
        m_value = m_target;
        m_velocity = 0;
        return false;
    }
    return true;
}

bool SpringValue::isSettled() const {
    const double scale = std::max(1.0, std::abs(m_target));
    return std::abs(m_value - m_target) < kRestDistance * scale &&
           std::abs(m_velocity) < kRestVelocity * scale;
}

} // namespace nolvea
