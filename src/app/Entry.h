#pragma once

namespace nolvea {

// The process entry: developer modes from the command line, otherwise the application.
class Entry {
public:
    // Exit statuses of a developer mode besides 0 (it passed).
    static constexpr int failedStatus = 1; // the mode ran and found a fault
    static constexpr int noModeStatus = 2; // no developer flag applied

    static int main(int argc, char** argv);
};

} // namespace nolvea
