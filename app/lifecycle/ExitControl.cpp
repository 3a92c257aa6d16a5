#include "ExitControl.h"

#include "ExitTexts.h"
#include "HomePage.h"

#include "core/AppContext.h"
#include "core/PlayerClose.h"
#include "platform/FileLookup.h"
#include "platform/Platform.h"
#include "timer/MainWindow.h"

#include <QDir>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

ExitControl::ExitControl(MainWindow& window) : QObject(&window), m_window(window) {}

void ExitControl::attach(MainWindow& window) {
    auto* control = new ExitControl(window);
    QObject::connect(window.control<QPushButton>(QStringLiteral("Command7")), &QPushButton::clicked, control,
                     &ExitControl::exit);
    QObject::connect(window.control<QPushButton>(QStringLiteral("Command6")), &QPushButton::clicked, control,
                     &ExitControl::help);
    window.onClick(QStringLiteral("Image1"), [control] { control->homePage(); });
    // The address is the build's, so the texts that name it are completed here.
    control->m_homePage = homePage::address(QCoreApplication::applicationDirPath());
    window.controlWidget(QStringLiteral("Image1"))->setToolTip(exitTexts::homePageToolTip + control->m_homePage);
    window.control<QLabel>(QStringLiteral("Label4"))
        ->setText(exitTexts::productLine + homePage::shownAs(control->m_homePage));
    // Alt+F4 or the task list's "Close" is the Exit button.
    window.setCloseAction([control] { control->exit(); });
}

void ExitControl::exit() {
    AppContext& ctx = m_window.ctx();
    ctx.platform.taskbar.show();
    m_window.centreHorizontally();
    if (ctx.platform.messages.askYesNo(exitTexts::toolTitle, exitTexts::confirmExit) !=
        platform::MessageBoxes::Answer::Yes)
        return;
    closePlayerAndEnd(ctx);
}

void closePlayerAndEnd(AppContext& ctx) {
    if (ctx.forms.ended())
        return;
    if (ctx.state.layoutMode == QLatin1String("H")) {
        // The presentation the player shows ends before the windows close.
        pressPlayerClose(ctx);
        ctx.yield(5);
        ctx.state.layoutMode = QStringLiteral("S");
    }
    ctx.forms.unloadAllAndEnd();
}

void endForDesktop(AppContext& ctx) {
    // Nobody is asked: the session is going. What the program took is given back first.
    ctx.platform.taskbar.show();
    ctx.platform.input.setBlocked(false);
    closePlayerAndEnd(ctx);
}

QString helpCommandLine(const QString& helpFilePath) {
#ifdef Q_OS_WIN
    Q_UNUSED(helpFilePath);
    return exitTexts::windowsHelpCommand;
#else
    for (const QString& viewer : exitTexts::helpViewers) {
        const QString path = QStandardPaths::findExecutable(viewer);
        if (path.isEmpty())
            continue;
        QString quoted = helpFilePath;
        quoted.replace(QStringLiteral("\""), QStringLiteral("\"\"\""));
        return QStringLiteral("\"%1\" \"%2\"").arg(path, quoted);
    }
    return {};
#endif
}

void ExitControl::help() {
    AppContext& ctx = m_window.ctx();
    m_window.setHeight(3465);
    m_window.controlWidget(QStringLiteral("Frame4"))->hide();
    ctx.yield(1);
    // Named without a folder: the help file lives in the current directory. A missing
    // file is the viewer's to report.
    const QString found = platform::findFileIgnoringCase(QDir::currentPath(), exitTexts::helpFile);
    const QString file = found.isEmpty() ? QDir::current().filePath(exitTexts::helpFile) : found;
    const QString command = helpCommandLine(file);
    if (command.isEmpty() || !ctx.platform.processes.startDetached(command))
        ctx.platform.messages.information(exitTexts::hintTitle, exitTexts::noHelpViewer);
}

void ExitControl::homePage() { m_window.ctx().platform.processes.openDocument(m_homePage); }
