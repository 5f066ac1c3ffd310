#pragma once

#include "ui/components/Theme.h"

namespace nolvea {

// One number driven by a damped spring towards its target. A new target mid-flight keeps the
// current position and velocity, so a change of mind bends the motion instead of cutting it.
class SpringValue {
public:
    explicit SpringValue(double value = 0, SpringSpec spec = {});

    double value() const { return m_value; }
    double velocity() const { return m_velocity; }
    double target() const { return m_target; }
    const SpringSpec& spec() const { return m_spec; }

    // Aims at `target` with `spec`, from where the value is now.
    void retarget(double target, const SpringSpec& spec);
    void retarget(double target) { retarget(target, m_spec); }
    // Puts the value at `value` at rest (no motion).
    void jump(double value);
    // Starts from an explicit position and velocity (keyframes chain through this).
    void setState(double value, double velocity);

    // Moves time forward by `seconds`; returns whether it is still moving afterwards.
    bool advance(double seconds);
    bool isSettled() const;

    // Stiffness and damping of a unit mass for a spring spec.
    static double stiffness(const SpringSpec& spec);
    static double damping(const SpringSpec& spec);

private:
    double m_value;
    double m_velocity = 0;
    double m_target;
    SpringSpec m_spec;
};

} // namespace nolvea
