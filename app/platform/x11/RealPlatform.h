#pragma once

#include "platform/Platform.h"

#include <memory>

namespace platform {

// The desktop this program runs on: Qt widgets plus X11 for what Qt lacks.
class RealPlatform {
public:
    RealPlatform();
    ~RealPlatform();
    Platform& get() { return *m_platform; }

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    std::unique_ptr<Platform> m_platform;
};

} // namespace platform
