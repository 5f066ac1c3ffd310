#pragma once

#include <QString>

namespace nolvea {

// What the user was looking at when an interaction began: the front application, its focused
// window's title, the selection and the text just before the caret. Copied by value.
struct ScreenContext {
    QString appName;
    QString bundleID;
    QString windowTitle;
    QString selectedText;     // whole, no cap
    QString textBeforeCursor; // at most `maxTextBeforeCursor` UTF-16 code units
    qint32 processID = 0;

    static constexpr qsizetype maxTextBeforeCursor = 300;

    // The context of no application at all.
    static ScreenContext empty() { return {}; }
    bool isEmpty() const;

    // A short Portuguese phrase telling the model what kind of application the text is for;
    // "" when the application is of no known kind.
    QString appKind() const;

    // The last `maxTextBeforeCursor` code units of `value` that end where a selection starting
    // at `location` begins; a negative location gives "", one past the end is clamped.
    static QString textBefore(const QString& value, qint64 location);

    friend bool operator==(const ScreenContext&, const ScreenContext&) = default;
};

} // namespace nolvea
