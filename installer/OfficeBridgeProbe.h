#pragma once

#include "ComponentProbe.h"

#include <chrono>

// The office the main program drives: soffice.bin from the office's program folder must start
// headless on a throw-away profile and answer over a private UNO pipe, as the main program's
// own offices do. The office is ended by its own process id afterwards, and its profile and
// pipe are removed; nothing of the user's own office is touched.
class OfficeBridgeProbe : public ComponentProbe {
public:
    OfficeBridgeProbe(QString programDir, QString dataFolder,
                      std::chrono::milliseconds startLimit = std::chrono::seconds(45));

    QString name() const override;
    QString package() const override;
    bool isPresent(std::stop_token stop) override;

private:
    QString m_programDir;
    QString m_dataFolder; // the throw-away profile is made here
    std::chrono::milliseconds m_startLimit;
};
