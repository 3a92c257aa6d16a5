#pragma once

namespace platform {

// Detects another running instance of this program on the same desktop.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // Claims the instance for this process; false when another live instance holds it.
    virtual bool claim() = 0;
};

} // namespace platform
