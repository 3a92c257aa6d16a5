#pragma once

#include "platform/DesktopWindows.h"

#include <QList>
#include <vector>

class AppContext;

namespace draws {

// The user's presentation program as the draws see it. On this desktop one LibreOffice
// process serves all of a user's documents, so it is not the process that counts but its
// presentation windows: Impress documents and running slide shows of the user's own
// LibreOffice. The program's own offices and windows, other users' and other programs'
// windows never count.
struct PresentationProgram {
    // Processes of the offices this program started.
    QList<qint64> ownProcesses;

    static PresentationProgram of(const AppContext& ctx);

    bool counts(const platform::ClientWindow& window) const;
    std::vector<platform::ClientWindow> windows(AppContext& ctx) const;
    bool running(AppContext& ctx) const { return !windows(ctx).empty(); }
    // Asks each presentation window to close, as the user's close button would, so
    // LibreOffice asks to save a modified one. Returns at once.
    void close(AppContext& ctx) const;
};

} // namespace draws
