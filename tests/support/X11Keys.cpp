#include "support/X11Keys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace nolvea::test::X11Keys {

namespace {

Display* display() {
    static Display* d = XOpenDisplay(nullptr);
    return d;
}

bool post(const QByteArray& name, bool down) {
    Display* d = display();
    if (!d) return false;
    const KeySym sym = XStringToKeysym(name.constData());
    const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(d, sym);
    if (code == 0) return false;
    XTestFakeKeyEvent(d, code, down, CurrentTime);
    XSync(d, False);
    return true;
}

} // namespace

bool press(const QByteArray& keysym) {
    return post(keysym, true);
}

bool release(const QByteArray& keysym) {
    return post(keysym, false);
}

bool tap(const QByteArray& keysym) {
    return press(keysym) && release(keysym);
}

void releaseAll() {
    Display* d = display();
    if (!d) return;
    char keys[32] = {};
    XQueryKeymap(d, keys);
    for (int code = 8; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8))) XTestFakeKeyEvent(d, code, False, CurrentTime);
    XSync(d, False);
}

} // namespace nolvea::test::X11Keys
