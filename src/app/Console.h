#pragma once

#include <QString>

namespace nolvea {

// The developer modes' standard output: whole lines, each in one write, so lines from a
// child and from us never interleave mid-line.
class Console {
public:
    static void line(const QString& text);
    // Diagnostics that are not part of a mode's output.
    static void error(const QString& text);

    // Seconds with a decimal point whatever the process locale says.
    static QString seconds(double value, int decimals);
};

} // namespace nolvea
