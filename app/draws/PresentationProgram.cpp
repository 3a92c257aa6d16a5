#include "PresentationProgram.h"

#include "core/AppContext.h"
#include "desktop/TitlePatterns.h"
#include "office/OfficeSuite.h"
#include "platform/Platform.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcPresentationProgram, "vexlo.draws.presentation")

namespace draws {

namespace {

// Every LibreOffice window carries this instance name; the class names the module of a
// document window ("libreoffice-impress"), but the show window's class is the product's
// name and version, so the show is known by its title.
const QString officeInstance = QStringLiteral("libreoffice");
const QString impressClass = QStringLiteral("libreoffice-impress");

bool isShow(const platform::ClientWindow& w) { return titles::match(w.title).slideShow; }

} // namespace

PresentationProgram PresentationProgram::of(const AppContext& ctx) {
    return {ctx.office ? ctx.office->ownProcessIds() : QList<qint64>{}};
}

bool PresentationProgram::counts(const platform::ClientWindow& w) const {
    if (w.ownWindow || w.otherUser || (w.pid != 0 && ownProcesses.contains(w.pid)))
        return false;
    // Only LibreOffice's windows: a browser page titled like a presentation is no
    // presentation, and closing it would lose the user's work.
    if (w.resName.compare(officeInstance, Qt::CaseInsensitive) != 0)
        return false;
    if (w.resClass.compare(impressClass, Qt::CaseInsensitive) == 0)
        return true;
    const titles::Seen seen = titles::match(w.title);
    return seen.slideShow || seen.presentation;
}

std::vector<platform::ClientWindow> PresentationProgram::windows(AppContext& ctx) const {
    std::vector<platform::ClientWindow> found;
    for (platform::ClientWindow& w : ctx.platform.desktopWindows.list()) {
        if (counts(w))
            found.push_back(std::move(w));
    }
    qCDebug(lcPresentationProgram) << found.size() << "presentation windows, sparing" << ownProcesses;
    return found;
}

void PresentationProgram::close(AppContext& ctx) const {
    std::vector<platform::ClientWindow> found = windows(ctx);
    // A show window's close only ends the show; the document closes with its own
    // window. Shows go first, so the save question is not hidden behind a full-screen show.
    std::stable_partition(found.begin(), found.end(), isShow);
    for (const platform::ClientWindow& w : found) {
        if (!ctx.platform.desktopWindows.requestClose(w.id))
            qCDebug(lcPresentationProgram) << "could not ask" << w.title << "to close";
    }
}

} // namespace draws
