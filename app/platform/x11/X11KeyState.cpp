#include "X11KeyState.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <xcb/xcb.h>
#include <X11/keysym.h>

namespace platform {

namespace {

// Re-reading the mapping at most this often keeps typing from costing a read per tick.
constexpr int mappingRefreshMs = 1000;
constexpr uint32_t noSymbol = 0;

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

uint32_t keysymFor(int vk) {
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
        return noSymbol;
    }
}

bool held(const uint8_t* keys, uint8_t code) { return (keys[code / 8] >> (code % 8)) & 1; }

} // namespace

void X11KeyState::readMapping() {
    m_mappingRead = true;
    m_mappingAge.start();
    m_known.clear();
    m_keysyms.clear();
    xcb_connection_t* c = qtConnection();
    if (!c)
        return;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    xcb_get_keyboard_mapping_reply_t* reply =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    if (!reply)
        return;
    m_minCode = setup->min_keycode;
    m_perCode = reply->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    m_keysyms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply));
    std::free(reply);
}

const std::vector<uint8_t>& X11KeyState::codesFor(int virtualKey) {
    for (const Known& k : m_known) {
        if (k.virtualKey == virtualKey)
            return k.codes;
    }
    Known known{virtualKey, {}};
    const uint32_t sym = keysymFor(virtualKey);
    if (sym != noSymbol && m_perCode > 0) {
        // Every code that yields the key in any shift level counts.
        for (size_t i = 0; i < m_keysyms.size(); ++i) {
            const auto code = static_cast<uint8_t>(m_minCode + i / m_perCode);
            if (m_keysyms[i] == sym && (known.codes.empty() || known.codes.back() != code))
                known.codes.push_back(code);
        }
    }
    m_known.push_back(std::move(known));
    return m_known.back().codes;
}

bool X11KeyState::isKeyDown(int virtualKey) {
    xcb_connection_t* c = qtConnection();
    if (!c || keysymFor(virtualKey) == noSymbol)
        return false;
    // The server's state of every key, whoever has the focus.
    xcb_query_keymap_reply_t* reply = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
    if (!reply)
        return false;
    uint8_t keys[32];
    std::copy(std::begin(reply->keys), std::end(reply->keys), keys);
    std::free(reply);

    if (!m_mappingRead)
        readMapping();
    auto anyHeld = [&](const std::vector<uint8_t>& codes) {
        for (uint8_t code : codes) {
            if (held(keys, code))
                return true;
        }
        return false;
    };
    // Held now, or tapped since the last question: either way the key was pressed.
    if (m_presses.takePress(codesFor(virtualKey)) | anyHeld(codesFor(virtualKey)))
        return true;
    bool someKeyHeld = false;
    for (uint8_t byte : keys)
        someKeyHeld = someKeyHeld || byte != 0;
    if (!someKeyHeld || m_mappingAge.elapsed() < mappingRefreshMs)
        return false;
    readMapping();
    return anyHeld(codesFor(virtualKey));
}

} // namespace platform
