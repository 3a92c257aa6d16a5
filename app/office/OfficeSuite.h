#pragma once

#include <QList>
#include <QString>

#include <memory>

namespace vexlo::office {

class PresentationApp;
class SpreadsheetApp;

// Process name of the presentation program on Windows, which the draw launcher looks for.
inline constexpr char kWindowsPresentationProcessName[] = "powerpnt.exe";

enum class OfficeKind { Presentation, Spreadsheet };

// Entry point to one office backend; the program picks the real or the fake one.
class OfficeSuite {
public:
    virtual ~OfficeSuite() = default;

    // A new presentation program of its own; null when it cannot be started.
    virtual std::shared_ptr<PresentationApp> createPresentationApp() = 0;
    // A new, invisible spreadsheet program of its own; null when it cannot be started.
    virtual std::shared_ptr<SpreadsheetApp> createSpreadsheetApp() = 0;
    // A spreadsheet program this process started earlier and that still answers (the most
    // recently started one); null when there is none. Never another program's office.
    virtual std::shared_ptr<SpreadsheetApp> attachRunningSpreadsheet() = 0;

    // Starts a program of that kind in the background, without waiting, so that the next
    // create…App() of the kind finds it running instead of starting one; nothing when one
    // is already starting or waiting.
    virtual void warmUp(OfficeKind kind) = 0;
    // Ends the programs started ahead that nobody took, without waiting for them.
    virtual void dropWarmedUp() = 0;

    // Executable name of the presentation program's processes on this desktop.
    virtual QString presentationProcessName() const = 0;
    // Processes of the office instances this program started and that still run; a
    // process check for the user's own office ignores them.
    virtual QList<qint64> ownProcessIds() const = 0;
};

} // namespace vexlo::office
