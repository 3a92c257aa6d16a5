#include "FakeOfficeSuite.h"

#include "FakePresentation.h"
#include "FakeSpreadsheet.h"
#include "office/OfficeLogging.h"

namespace vexlo::office {

struct FakeOfficeSuite::Registry {
    std::shared_ptr<FakeOfficeWorld> world;
    QList<std::shared_ptr<FakeSpreadsheetInstance>> spreadsheets;

    std::shared_ptr<FakeSpreadsheetInstance> start() {
        if (world->faults.programMissing) {
            qCDebug(lcOfficeFake) << "spreadsheet program missing";
            return nullptr;
        }
        prune();
        auto inst = std::make_shared<FakeSpreadsheetInstance>();
        inst->pid = world->startProcess(QStringLiteral("soffice.bin"), true);
        spreadsheets.append(inst);
        return inst;
    }

    void prune() {
        spreadsheets.removeIf([this](const auto& i) { return !world->isRunning(i->pid); });
    }

    FakeSpreadsheetApp::Starter starter(const std::shared_ptr<Registry>& self) {
        return [weak = std::weak_ptr<Registry>(self)]() -> std::shared_ptr<FakeSpreadsheetInstance> {
            auto r = weak.lock();
            return r ? r->start() : nullptr;
        };
    }
};

FakeOfficeSuite::FakeOfficeSuite(std::shared_ptr<FakeOfficeWorld> world)
    : m_world(std::move(world)), m_registry(std::make_shared<Registry>()) {
    m_registry->world = m_world;
}

FakeOfficeSuite::~FakeOfficeSuite() {
    // Like the real suite: no instance outlives its owner.
    for (qint64 pid : ownProcessIds()) m_world->kill(pid);
}

std::shared_ptr<PresentationApp> FakeOfficeSuite::createPresentationApp() {
    if (m_world->faults.programMissing) {
        qCDebug(lcOfficeFake) << "presentation program missing";
        return nullptr;
    }
    const qint64 pid = m_world->startProcess(m_world->presentationProcessName, true);
    return std::make_shared<FakePresentationApp>(m_world, pid);
}

std::shared_ptr<SpreadsheetApp> FakeOfficeSuite::createSpreadsheetApp() {
    auto inst = m_registry->start();
    if (!inst) return nullptr;
    return std::make_shared<FakeSpreadsheetApp>(m_world, inst, m_registry->starter(m_registry));
}

std::shared_ptr<SpreadsheetApp> FakeOfficeSuite::attachRunningSpreadsheet() {
    if (m_world->faults.programMissing) return nullptr;
    m_registry->prune();
    for (auto it = m_registry->spreadsheets.crbegin(); it != m_registry->spreadsheets.crend(); ++it) {
        if (m_world->answer((*it)->pid))
            return std::make_shared<FakeSpreadsheetApp>(m_world, *it, m_registry->starter(m_registry));
    }
    qCDebug(lcOfficeFake) << "no running spreadsheet program to attach to";
    return nullptr;
}

QString FakeOfficeSuite::presentationProcessName() const { return m_world->presentationProcessName; }

QList<qint64> FakeOfficeSuite::ownProcessIds() const { return m_world->runningProcesses(true); }

} // namespace vexlo::office
