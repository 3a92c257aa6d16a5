#pragma once

#include <QString>
#include <memory>

namespace platform {

// A wave-audio device driven by commands, one per window that plays sounds. A file name
// without a directory is looked up in the current directory, ignoring case. Commands
// never block and never fail loudly: a missing or unplayable file changes nothing else.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void setFileName(const QString& fileName) = 0;
    // "Close", "Open" or "PLAY".
    virtual void command(const QString& name) = 0;
};

class SoundPlayers {
public:
    virtual ~SoundPlayers() = default;
    virtual std::unique_ptr<SoundPlayer> create() = 0;
};

// The sequence every caller uses to play a file: Close, Open, PLAY.
inline void playSound(SoundPlayer& player, const QString& fileName) {
    player.setFileName(fileName);
    player.command(QStringLiteral("Close"));
    player.command(QStringLiteral("Open"));
    player.command(QStringLiteral("PLAY"));
}

} // namespace platform
