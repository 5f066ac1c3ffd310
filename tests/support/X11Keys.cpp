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
    return postCode(keycode(name), down);
}

} // namespace

quint32 keysym(const QByteArray& name) {
    return quint32(XStringToKeysym(name.constData()));
}

int keycode(const QByteArray& keysym) {
    Display* d = display();
    const KeySym sym = XStringToKeysym(keysym.constData());
    return d && sym != NoSymbol ? XKeysymToKeycode(d, sym) : 0;
}

bool postCode(int keycode, bool down) {
    Display* d = display();
    if (!d || keycode == 0) return false;
    XTestFakeKeyEvent(d, keycode, down, CurrentTime);
    XSync(d, False);
    return true;
}

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
