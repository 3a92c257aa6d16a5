#pragma once

#include "CommandStarter.h"

// Starts the program of a command line through the command search path (PATH), detached:
// it outlives the finisher and its result is never read.
class DetachedCommandStarter : public CommandStarter {
public:
    bool start(const QString& commandText) override;
};
