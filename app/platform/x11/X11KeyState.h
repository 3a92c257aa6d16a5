#pragma once

#include "X11KeyPresses.h"
#include "platform/KeyState.h"

#include <QElapsedTimer>
#include <cstdint>
#include <vector>

namespace platform {

// The server's state of every key, read on Qt's XCB connection: one round trip per
// question. The key codes of a key come from the server's keyboard mapping, read again
// when keys are held and none of them is the one asked for (the mapping may have changed
// since: a tool that types a key the layout lacks maps it to a spare code first).
// A key tapped between two questions also counts as down, once (see X11KeyPresses).
class X11KeyState : public KeyState {
public:
    bool isKeyDown(int virtualKey) override;

private:
    struct Known {
        int virtualKey;
        std::vector<uint8_t> codes;
    };
    void readMapping();
    const std::vector<uint8_t>& codesFor(int virtualKey);

    std::vector<Known> m_known;
    X11KeyPresses m_presses;
    QElapsedTimer m_mappingAge;
    bool m_mappingRead = false;
    uint8_t m_minCode = 8;
    uint8_t m_perCode = 0;
    std::vector<uint32_t> m_keysyms; // the server's mapping, m_perCode per key code
};

} // namespace platform
