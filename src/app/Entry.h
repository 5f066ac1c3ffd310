#pragma once

namespace nolvea {

// The process entry: developer modes from the command line, otherwise the application.
class Entry {
public:
    static int main(int argc, char** argv);
};

} // namespace nolvea
