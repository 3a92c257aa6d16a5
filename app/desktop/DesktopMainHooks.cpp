#include "DesktopWiring.h"

#include "DesktopPoll.h"
#include "PresentationCloser.h"
#include "Shrink.h"
#include "TitleWatch.h"

#include "core/FormTimer.h"
#include "timer/MainWindow.h"

namespace desktop {

void attachToMainWindow(MainWindow& window) {
    auto* watch = new TitleWatch(window);
    auto* poll = new DesktopPoll(window, *watch);
    window.timer(QStringLiteral("Timer2"))->setHandler([poll] { poll->pollTick(); });
    new Shrink(window, *watch);
    new PresentationCloser(window);
}

} // namespace desktop
