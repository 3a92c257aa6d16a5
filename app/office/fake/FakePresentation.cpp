#include "FakePresentation.h"

#include "office/OfficeLogging.h"
#include "office/Presentation.h"
#include "office/SlideShowView.h"

namespace vexlo::office {

namespace {

class FakeSlideShowView : public SlideShowView {
public:
    FakeSlideShowView(std::shared_ptr<FakeOfficeWorld> w, qint64 pid, std::shared_ptr<FakeShow> s)
        : m_world(std::move(w)), m_pid(pid), m_show(std::move(s)) {}

    bool GotoSlide(int index) override {
        if (!live() || index < 1 || index > m_show->slideCount) return false;
        m_show->position = index;
        return true;
    }

    int CurrentShowPosition() override { return live() ? m_show->position : 0; }

private:
    bool live() { return m_world->answer(m_pid) && m_show->open && m_show->running; }

    std::shared_ptr<FakeOfficeWorld> m_world;
    qint64 m_pid;
    std::shared_ptr<FakeShow> m_show;
};

class FakePresentation : public Presentation {
public:
    FakePresentation(std::shared_ptr<FakeOfficeWorld> w, qint64 pid, std::shared_ptr<FakeShow> s)
        : m_world(std::move(w)), m_pid(pid), m_show(std::move(s)) {}

    bool RunSlideShow() override {
        if (!live()) return false;
        m_show->running = true;
        m_show->position = 1;
        return true;
    }

    int SlideCount() override { return live() ? m_show->slideCount : 0; }

    std::shared_ptr<SlideShowView> SlideShowWindowView() override {
        if (!live() || !m_show->running) return nullptr;
        return std::make_shared<FakeSlideShowView>(m_world, m_pid, m_show);
    }

private:
    bool live() { return m_world->answer(m_pid) && m_show->open; }

    std::shared_ptr<FakeOfficeWorld> m_world;
    qint64 m_pid;
    std::shared_ptr<FakeShow> m_show;
};

} // namespace

FakePresentationApp::FakePresentationApp(std::shared_ptr<FakeOfficeWorld> world, qint64 pid)
    : m_world(std::move(world)), m_pid(pid) {}

bool FakePresentationApp::SetVisible(bool visible) {
    if (!m_world->answer(m_pid)) return false;
    m_visible = visible;
    return true;
}

std::shared_ptr<Presentation> FakePresentationApp::Open(const QString& fullPath) {
    if (!m_world->answer(m_pid)) return nullptr;
    const auto* file = m_world->presentationFile(fullPath);
    if (!file || m_world->faults.fileMissing) {
        qCDebug(lcOfficeFake) << "no presentation file" << fullPath;
        return nullptr;
    }
    auto show = std::make_shared<FakeShow>();
    show->slideCount = file->slideCount;
    m_shows.append(show);
    return std::make_shared<FakePresentation>(m_world, m_pid, show);
}

bool FakePresentationApp::Quit() {
    if (!m_world->answer(m_pid)) return false;
    for (const auto& s : m_shows) {
        s->running = false;
        s->open = false;
    }
    m_world->kill(m_pid);
    return true;
}

bool FakePresentationApp::IsRunning() { return m_world->isRunning(m_pid); }

qint64 FakePresentationApp::ProcessId() const { return m_world->isRunning(m_pid) ? m_pid : 0; }

} // namespace vexlo::office
