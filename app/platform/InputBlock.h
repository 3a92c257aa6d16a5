#pragma once

namespace platform {

// System-wide blocking of keyboard and pointer input. Every block is released again:
// callers release it, and the backend releases it on its own on any exit path.
class InputBlock {
public:
    virtual ~InputBlock() = default;
    virtual bool setBlocked(bool blocked) = 0;
};

} // namespace platform
