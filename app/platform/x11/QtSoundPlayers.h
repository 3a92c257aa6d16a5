#pragma once

#include "platform/SoundPlayer.h"

namespace platform {

class QtSoundPlayers : public SoundPlayers {
public:
    std::unique_ptr<SoundPlayer> create() override;
};

} // namespace platform
