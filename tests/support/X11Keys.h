#pragma once

#include <QByteArray>

// Key presses posted on the test display through XTest, named by their X11 key symbols
// ("Alt_R", "Menu", "Escape", "v").
namespace nolvea::test::X11Keys {

// False when the display has no key for the symbol or no XTest.
bool press(const QByteArray& keysym);
bool release(const QByteArray& keysym);
bool tap(const QByteArray& keysym);
// Releases every key the tests may have left down.
void releaseAll();

} // namespace nolvea::test::X11Keys
