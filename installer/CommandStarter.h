#pragma once

#include <QString>

// Starts a command line as its own process without waiting for it.
class CommandStarter {
public:
    virtual ~CommandStarter() = default;
    // False when the command could not be started; nobody learns how it ended.
    virtual bool start(const QString& commandText) = 0;
};
