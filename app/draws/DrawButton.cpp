#include "DrawButton.h"

#include "DrawLauncher.h"
#include "LauncherTexts.h"
#include "PresentationProgram.h"

#include "core/AppContext.h"
#include "platform/Platform.h"
#include "timer/MainWindow.h"

#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcDrawButton, "vexlo.draws.button")

namespace draws {

DrawButton::DrawButton(MainWindow& window) : QObject(&window), m_window(window) {}

void DrawButton::attach(MainWindow& window) {
    auto* button = new DrawButton(window);
    connect(window.control<QPushButton>(QStringLiteral("Command5")), &QPushButton::clicked, button,
            &DrawButton::clicked);
}

void DrawButton::clicked() {
    AppContext& ctx = m_window.ctx();
    AppState& s = ctx.state;
    const PresentationProgram program = PresentationProgram::of(ctx);
    if (program.running(ctx) && s.layoutMode == QLatin1String("S")) {
        const auto answer = ctx.platform.messages.askYesNo(launcherTexts::toolTitle,
                                                           launcherTexts::closePresentationQuestion);
        if (answer == platform::MessageBoxes::Answer::Yes) {
            // Close requests only; the launcher opens without waiting for them.
            program.close(ctx);
            s.launcherBlocked = QStringLiteral("N");
        } else {
            s.launcherBlocked = QStringLiteral("Y");
        }
    } else {
        s.launcherBlocked = QStringLiteral("N");
    }
    ctx.yield(4);
    if (s.launcherBlocked == QLatin1String("Y"))
        return;

    auto* launcher = qobject_cast<DrawLauncher*>(ctx.forms.ref(FormId::Form2));
    if (!launcher) {
        qCWarning(lcDrawButton) << "no draw launcher built in";
        return;
    }
    launcher->openInPlaceOfMainWindow(m_window);
}

} // namespace draws
