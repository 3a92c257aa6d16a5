#pragma once

#include <QList>
#include <QString>

class AppContext;

namespace draws {

// The user's presentation program as the draws see it: its executable name on this
// desktop and the office processes of this program, which are never the user's.
struct PresentationProgram {
    QString processName;
    QList<qint64> ownProcesses;

    // From the office layer when it is wired, else the name LibreOffice's processes
    // carry (the Windows program's name on Windows) with nothing to spare.
    static PresentationProgram of(const AppContext& ctx);

    // The process check: some process of that name runs that is not one of ours.
    bool running(AppContext& ctx) const;
    // Asks the user's presentation processes to end and forces them after a grace;
    // returns at once.
    void terminate(AppContext& ctx) const;
};

// Executable name of LibreOffice's office processes.
inline constexpr char linuxPresentationProcessName[] = "soffice.bin";

} // namespace draws
