#pragma once

#include "platform/InputBlock.h"

#include <QByteArray>

#include <chrono>
#include <memory>

namespace platform {

// Blocks input by grabbing the keyboard and the pointer to the root window.
//
// The grab is held by a thread of its own on its own X connection, never by the
// user-interface thread, so it can never strand the desktop:
//  * the thread lets go `cap` after the block began, even if the UI thread hangs;
//  * a block is released on request, and on destruction (program exit);
//  * if the process dies, the X server drops the grab with the connection.
class X11InputBlock : public InputBlock {
public:
    // `displayName` empty: the display the program's windows are on.
    explicit X11InputBlock(std::chrono::milliseconds cap = std::chrono::seconds(30), QByteArray displayName = {});
    ~X11InputBlock() override;
    X11InputBlock(const X11InputBlock&) = delete;
    X11InputBlock& operator=(const X11InputBlock&) = delete;

    // True when both the keyboard and the pointer were grabbed (or released).
    bool setBlocked(bool blocked) override;
    // Whether a grab is held right now (false once the cap has released it).
    bool isBlocked() const;

private:
    struct Worker;
    std::chrono::milliseconds m_cap;
    QByteArray m_displayName;
    std::unique_ptr<Worker> m_worker;
};

} // namespace platform
