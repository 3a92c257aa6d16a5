#include "X11KeyState.h"

#include "X11Display.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace platform {

namespace {
KeySym keysymFor(int vk) {
    if (vk >= 0x70 && vk <= 0x87)
        return XK_F1 + (vk - 0x70);
    if (vk >= 0x30 && vk <= 0x39)
        return XK_0 + (vk - 0x30);
    if (vk >= 0x41 && vk <= 0x5A)
        return XK_a + (vk - 0x41);
    switch (vk) {
    case vk::backspace:
        return XK_BackSpace;
    case vk::enter:
        return XK_Return;
    default:
        return NoSymbol;
    }
}
} // namespace

bool X11KeyState::isKeyDown(int virtualKey) {
    Display* d = x11::display();
    const KeySym sym = keysymFor(virtualKey);
    if (!d || sym == NoSymbol)
        return false;
    const KeyCode code = XKeysymToKeycode(d, sym);
    if (code == 0)
        return false;
    char keys[32];
    XQueryKeymap(d, keys); // the server's state of every key, whoever has the focus
    return (keys[code / 8] >> (code % 8)) & 1;
}

} // namespace platform
