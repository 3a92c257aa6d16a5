#pragma once

#include "platform/Platform.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
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
    QSize size() const override { return sizePx; }
    QPoint pointer() const override { return pointerPx; }
    QSize sizePx{1280, 800};
    QPoint pointerPx{-1000, -1000};
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

struct FakePlatform {
    FakeMessageBoxes messages;
    FakeScreen screen;
    FakeWindowPlacement placement;
    FakeInstanceGuard instance;
    FakeSoundPlayers sounds;
    Platform platform{messages, screen, placement, instance, sounds};
};

} // namespace platform
