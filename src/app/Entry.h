#pragma once

namespace nolvea {

// The process entry: developer modes from the command line, otherwise the application.
class Entry {
public:
    // Exit statuses besides 0 (a mode passed, the application ended normally).
    static constexpr int failedStatus =
        1; // the mode found a fault; the application could not start
    static constexpr int noModeStatus = 2; // no developer flag applied

    static int main(int argc, char** argv);
};

} // namespace nolvea
