#include "PresentationProgram.h"

#include "core/AppContext.h"
#include "office/OfficeSuite.h"
#include "platform/Platform.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPresentationProgram, "vexlo.draws.presentation")

namespace draws {

PresentationProgram PresentationProgram::of(const AppContext& ctx) {
    if (ctx.office)
        return {ctx.office->presentationProcessName(), ctx.office->ownProcessIds()};
#ifdef Q_OS_WIN
    return {QString::fromLatin1(vexlo::office::kWindowsPresentationProcessName), {}};
#else
    return {QString::fromLatin1(linuxPresentationProcessName), {}};
#endif
}

bool PresentationProgram::running(AppContext& ctx) const {
    const bool found = platform::exitproc(ctx.platform.processes, processName, ownProcesses);
    qCDebug(lcPresentationProgram) << processName << (found ? "runs" : "does not run") << "sparing" << ownProcesses;
    return found;
}

void PresentationProgram::terminate(AppContext& ctx) const {
    qCDebug(lcPresentationProgram) << "ending" << processName << "sparing" << ownProcesses;
    ctx.platform.processes.terminate(processName, ownProcesses);
}

} // namespace draws
