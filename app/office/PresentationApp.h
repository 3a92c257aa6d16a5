#pragma once

#include <QString>

#include <memory>

namespace vexlo::office {

class Presentation;

// The presentation program. Every call fails quietly (false, null, 0): callers go on.
// Releasing the last handle does not end the program; Quit does, and so does the end of
// this process.
class PresentationApp {
public:
    virtual ~PresentationApp() = default;

    // Lets the program's windows show.
    virtual bool SetVisible(bool visible) = 0;
    // Opens the file read-write as a titled document; null when it cannot be opened.
    virtual std::shared_ptr<Presentation> Open(const QString& fullPath) = 0;
    // Ends the program and with it a running show; false when it had already gone.
    virtual bool Quit() = 0;

    // Whether the program still answers; cheap, for checks and tests.
    virtual bool IsRunning() = 0;
    // The operating-system process of this program, 0 when none.
    virtual qint64 ProcessId() const = 0;
};

} // namespace vexlo::office
