#pragma once

#include "audio/Sounds.h"
#include "core/HotkeyChoice.h"
#include "platform/KeyEvent.h"

#include <QString>

#include <optional>

namespace nolvea {

// The live push-to-talk test of the hotkey page: which key is held, whether a press and
// release of the chosen key was seen, and what each key event asks for.
class HotkeyTest {
public:
    // What one key event asks of the page, in order: choose another key, then play a cue.
    struct Reaction {
        std::optional<HotkeyChoice> select;
        std::optional<Sounds::Cue> cue;
        bool changed = false; // `pressed` or `worked` changed

        friend bool operator==(const Reaction&, const Reaction&) = default;
    };

    bool pressed() const { return m_pressed; }
    bool worked() const { return m_worked; }

    // The choice a listener key stands for; nothing for keys that are no choice.
    static std::optional<HotkeyChoice> choiceOf(KeyEvent::Key key);
    // The key that stands for a choice on this desktop.
    static KeyEvent::Key keyOf(HotkeyChoice choice);

    // One press or release of `key` while `chosen` is the push-to-talk key.
    Reaction handle(KeyEvent::Key key, bool down, HotkeyChoice chosen);
    // Another key was chosen (a click or a press): it has to be tried again.
    void chose();

    QString title(HotkeyChoice chosen) const;
    QString detail() const;

    // "Fn / 🌐", "⌥ Option direito", "⌘ Command direito".
    static QString label(HotkeyChoice choice);
    // The key-cap glyph: "fn", "⌥", "⌘".
    static QString glyph(HotkeyChoice choice);

private:
    bool m_pressed = false;
    bool m_worked = false;
};

} // namespace nolvea
