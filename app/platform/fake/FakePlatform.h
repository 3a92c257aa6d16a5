#pragma once

#include "platform/Platform.h"

#include <QMargins>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace platform {

// Test backend: records every call and answers from a script.
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString title;
        QString text;
        bool question = false;
    };
    void information(const QString& title, const QString& text) override;
    Answer askYesNo(const QString& title, const QString& text) override;

    std::vector<Shown> shown;
    // Answers for the next questions; when empty the default button (No) is taken.
    std::deque<Answer> answers;
    // Runs while a box is "open", as the user could act while it waits.
    std::function<void(const Shown&)> onShow;
};

class FakeScreen : public Screen {
public:
    QSize size() const override { return monitorsPx.empty() ? sizePx : monitorsPx.front().size(); }
    QPoint pointer() const override { return pointerPx; }
    std::vector<QRect> monitors() const override {
        return monitorsPx.empty() ? std::vector<QRect>{QRect(QPoint(0, 0), sizePx)} : monitorsPx;
    }
    QSize sizePx{1280, 800};
    // Several monitors, primary first; empty: one monitor of sizePx at the origin.
    std::vector<QRect> monitorsPx;
    QPoint pointerPx{-1000, -1000};
    // Taken from every monitor by the desktop's panels (GNOME's top bar: 32 at the top).
    QMargins reservedPx;
    QRect available(const QRect& monitor) const override { return monitor.marginsRemoved(reservedPx); }
};

class FakeWindowPlacement : public WindowPlacement {
public:
    void makeTopmost(QWidget* window) override { topmostCalls.push_back(window); }
    std::vector<QWidget*> topmostCalls;
};

class FakeInstanceGuard : public InstanceGuard {
public:
    bool claim() override { return !anotherRunning; }
    bool anotherRunning = false;
};

class FakeSoundPlayers : public SoundPlayers {
public:
    struct Command {
        int player;
        QString fileName;
        QString command;
    };
    std::unique_ptr<SoundPlayer> create() override;
    // Every command of every player, in order.
    std::vector<Command> log;
    int created = 0;
    // The files for which "PLAY" was sent after an "Open".
    QStringList played() const;
};

class FakeKeyState : public KeyState {
public:
    bool isKeyDown(int virtualKey) override { return held.count(virtualKey) != 0; }
    std::set<int> held;
};

class FakeWindowList : public WindowList {
public:
    QStringList titles() override {
        ++walks;
        return windowTitles;
    }
    void walk(std::vector<Entry>& out) override {
        ++walks;
        out.clear();
        for (qsizetype i = 0; i < windowTitles.size(); ++i)
            out.push_back({windowTitles[i], 0, ownWindows.count(static_cast<int>(i)) != 0});
    }
    QStringList windowTitles;
    // Positions in windowTitles of windows that belong to the program itself.
    std::set<int> ownWindows;
    int walks = 0;
};

class FakeTaskbar : public Taskbar {
public:
    void show() override { calls << QStringLiteral("show"), visible = true; }
    void hide() override { calls << QStringLiteral("hide"), visible = false; }
    QStringList calls;
    bool visible = true;
};

class FakeInputBlock : public InputBlock {
public:
    bool setBlocked(bool on) override {
        calls.push_back(on);
        blocked = on;
        return true;
    }
    std::vector<bool> calls;
    bool blocked = false;
};

class FakeProcesses : public Processes {
public:
    std::optional<std::vector<ProcessEntry>> snapshot() override {
        if (snapshotFails)
            return std::nullopt;
        return running;
    }
    bool startDetached(const QString& commandLine) override {
        started << commandLine;
        return startSucceeds;
    }
    bool openDocument(const QString& documentOrAddress) override {
        opened << documentOrAddress;
        return openSucceeds;
    }

    std::vector<ProcessEntry> running;
    bool snapshotFails = false;
    QStringList started;
    bool startSucceeds = true;
    QStringList opened;
    bool openSucceeds = true;
};

class FakeChores : public Chores {
public:
    void beep() override { ++beeps; }
    void sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
    int beeps = 0;
    std::vector<int> sleeps;
};

// Scripted windows of other programs; a close request is recorded and, unless the
// window's program keeps it open (a save question answered "Cancel"), removes it.
class FakeDesktopWindows : public DesktopWindows {
public:
    std::vector<ClientWindow> list() override {
        ++lists;
        return windows;
    }
    bool requestClose(quint64 id) override;

    std::vector<ClientWindow> windows;
    std::set<quint64> keptOpen;
    std::vector<quint64> closeRequests;
    int lists = 0;
};

struct FakePlatform {
    FakeMessageBoxes messages;
    FakeScreen screen;
    FakeWindowPlacement placement;
    FakeInstanceGuard instance;
    FakeSoundPlayers sounds;
    FakeKeyState keys;
    FakeWindowList windows;
    FakeTaskbar taskbar;
    FakeInputBlock input;
    FakeProcesses processes;
    FakeChores chores;
    FakeDesktopWindows desktopWindows;
    Platform platform{messages, screen,  placement, instance,  sounds, keys,
                      windows,  taskbar, input,     processes, chores, desktopWindows};
};

} // namespace platform
