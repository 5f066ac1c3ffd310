#pragma once

#include <QByteArray>

// Key presses posted on the test display through XTest, named by their X11 key symbols
// ("Alt_R", "Menu", "Escape", "v").
namespace nolvea::test::X11Keys {

// False when the display has no key for the symbol or no XTest.
bool press(const QByteArray& keysym);
bool release(const QByteArray& keysym);
bool tap(const QByteArray& keysym);
// The symbol's number (0 for a name X11 does not know).
quint32 keysym(const QByteArray& name);
// The key that gives the symbol in the current layout; 0 when none does.
int keycode(const QByteArray& keysym);
// Presses or releases a key by its code, whatever the layout makes of it.
bool postCode(int keycode, bool down);
// Releases every key the tests may have left down.
void releaseAll();

} // namespace nolvea::test::X11Keys
