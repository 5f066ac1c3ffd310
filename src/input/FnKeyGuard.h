#pragma once

namespace nolvea {

// Keeps the system from acting on the fn key itself, so that it can serve as the
// push-to-talk key. PC keyboards never hand fn to the X server (the Menu key stands in for
// it) and the desktop has no preference for what fn does, so on Linux there is nothing to
// silence.
class FnKeyGuard {
public:
    static void silence() {}
};

} // namespace nolvea
