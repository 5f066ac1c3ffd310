#pragma once

class QWidget;

namespace nolvea {

// The flag that turns every glass surface below a widget into the flat tinted look. Set on
// an ancestor it reaches the whole subtree; a descendant may set it back to false.
class FlatGlass {
public:
    static void set(QWidget* widget, bool flat);
    static void clear(QWidget* widget);
    // The value nearest up the parent chain; false when none sets it.
    static bool isFlat(const QWidget* widget);

    FlatGlass() = delete;
};

} // namespace nolvea
