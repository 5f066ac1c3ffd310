#pragma once

#include <QString>

namespace nolvea {

// The window the person is working in, as the window system describes it.
struct FrontWindow {
    QString appName;     // the application's name as its window names it
    QString windowClass; // the application's identifier (the class of its window)
    QString title;
    qint32 processID = 0; // 0 when the window does not say

    friend bool operator==(const FrontWindow&, const FrontWindow&) = default;
};

} // namespace nolvea
