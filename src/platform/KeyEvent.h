#pragma once

namespace nolvea {

// One key going down or up anywhere on the desktop, as the global key listener sees it.
struct KeyEvent {
    enum class Key {
        menu,         // the Menu key (stands for fn, which PC keyboards never deliver)
        rightAlt,     // Alt_R or ISO_Level3_Shift (AltGr)
        rightSuper,   // Super_R
        leftControl,  // Control_L
        rightControl, // Control_R
        escape,
        modifier, // any other modifier key (Shift, left Alt, left Super, Caps Lock, …)
        other,    // every key that is not a modifier
    };

    Key key = Key::other;
    bool pressed = false;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

} // namespace nolvea
