#include "Startup.h"

#include "DataFiles.h"
#include "StartupTexts.h"

#include "core/AppContext.h"
#include "core/FormLayout.h"
#include "core/FormTimer.h"
#include "core/SetNumber.h"
#include "platform/Platform.h"
#include "platform/SoundPlayer.h"
#include "timer/MainWindow.h"
#include "timer/MainWindowTexts.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Startup::Startup(MainWindow& window) : QObject(&window), m_window(window) {}

void Startup::attach(MainWindow& window) {
    auto* startup = new Startup(window);
    window.addLoadHook([startup] { startup->run(); });
    window.timer(QStringLiteral("Timer6"))->setHandler([startup] { startup->completion(); });
}

void Startup::run() {
    AppContext& ctx = m_window.ctx();
    auto label = [this](const char* n) { return m_window.control<QLabel>(QLatin1String(n)); };
    auto edit = [this](const char* n) { return m_window.control<QLineEdit>(QLatin1String(n)); };

    // 1. Shared values, height, fields, label positions.
    ctx.state.resetToStartup();
    m_window.applyLayoutHeight();
    edit("Text1")->setText(QStringLiteral("01"));
    edit("Text4")->setText(QStringLiteral("00"));
    edit("Text2")->setText(QStringLiteral("00"));
    edit("Text5")->setText(QStringLiteral("30"));
    setControlTop(label("Label6"), 240);
    setControlLeftTop(label("Label5"), 740, 120);
    setControlLeftTop(label("Label3"), 810, 60);
    setControlTop(label("Label31"), 960);
    setControlTop(label("Label18"), 960);
    label("Label18")->setText(mainTexts::running);
    setControlTop(label("Label8"), 960);
    ctx.yield(2);

    // 2. Placement.
    m_window.centreHorizontally();
    m_window.applyLayoutHeight();

    // 3. One instance per desktop; the running one is left alone, F9 brings it up.
    if (!ctx.platform.instance.claim()) {
        refuse();
        m_window.centreHorizontally();
        ctx.platform.messages.information(startupTexts::hintTitle, startupTexts::alreadyRunning);
        ctx.yield(1);
        ctx.forms.unloadAllAndEnd();
        return;
    }

    // 4. Data files, looked up in the current directory.
    const QString folder = QDir::currentPath();
    const QStringList absent = dataFiles::missing(folder);
    if (!absent.isEmpty()) {
        refuse();
        ctx.platform.messages.information(startupTexts::hintTitle, startupTexts::missingFiles(absent, folder));
        ctx.forms.unloadAllAndEnd();
        return;
    }

    // 5, 6. The launcher is closed, then loaded hidden again by the reference to its field.
    ctx.forms.unload(FormId::Form2);
    SetNumber(edit("Text1"), true);
    SetNumber(edit("Text2"), true);
    if (Form* launcher = ctx.forms.ref(FormId::Form2))
        SetNumber(launcher->control<QLineEdit>(QStringLiteral("Text2")), true);
    SetNumber(edit("Text4"), true);
    SetNumber(edit("Text5"), true);

    // 7. Always on top.
    m_window.makeTopmost();

    // 8. The sound player is prepared; nothing plays.
    m_window.sound().setFileName(mainTexts::preparedSound);

    // 9.
    m_window.timer(QStringLiteral("Timer6"))->setEnabled(true);
}

void Startup::refuse() {
    // The poll runs from load on and would show this window on F9 while the message waits
    // for the user, though the program is about to end.
    m_window.timer(QStringLiteral("Timer2"))->setEnabled(false);
    m_window.hide();
}

void Startup::completion() {
    m_window.control<QPushButton>(QStringLiteral("Command1"))->setEnabled(true);
    m_window.control<QPushButton>(QStringLiteral("Command5"))->setEnabled(true);
    m_window.setWindowTitle(startupTexts::programTitle);
    m_window.controlWidget(QStringLiteral("Frame5"))->hide();
    m_window.timer(QStringLiteral("Timer6"))->setEnabled(false);
}
