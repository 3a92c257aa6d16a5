#pragma once

#include "FakeOfficeWorld.h"
#include "office/PresentationApp.h"

#include <memory>

namespace vexlo::office {

struct FakeShow {
    int slideCount = 0;
    bool open = true;
    bool running = false;
    int position = 0;
};

class FakePresentationApp : public PresentationApp {
public:
    FakePresentationApp(std::shared_ptr<FakeOfficeWorld> world, qint64 pid);

    bool SetVisible(bool visible) override;
    std::shared_ptr<Presentation> Open(const QString& fullPath) override;
    bool Quit() override;
    bool IsRunning() override;
    qint64 ProcessId() const override;

    bool isVisible() const { return m_visible; }
    // The show of the last opened presentation, for tests of later windows.
    std::shared_ptr<FakeShow> lastShow() const { return m_shows.isEmpty() ? nullptr : m_shows.last(); }

private:
    std::shared_ptr<FakeOfficeWorld> m_world;
    qint64 m_pid;
    bool m_visible = false;
    QList<std::shared_ptr<FakeShow>> m_shows;
};

} // namespace vexlo::office
