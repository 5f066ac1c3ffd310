#pragma once

#include "ui/animation/SpringValue.h"

namespace nolvea {

// The progress of a view coming in (towards 1) or going away (towards 0), driven by a spring
// the caller chooses. A view that has gone away is no longer drawn.
class AppearTransition {
public:
    explicit AppearTransition(bool shown = false)
        : m_progress(shown ? 1 : 0) {}

    void appear(const SpringSpec& spring) { m_progress.retarget(1, spring); }
    void disappear(const SpringSpec& spring) { m_progress.retarget(0, spring); }
    void jump(bool shown) { m_progress.jump(shown ? 1 : 0); }
    bool advance(double seconds) { return m_progress.advance(seconds); }

    // 0 = in the inserted/removed state, 1 = at rest; a spring may overshoot a little.
    double progress() const { return m_progress.value(); }
    bool isAppearing() const { return m_progress.target() == 1; }
    // Whether anything of the view is still to be drawn.
    bool isPresent() const { return isAppearing() || !m_progress.isSettled(); }

private:
    SpringValue m_progress;
};

} // namespace nolvea
