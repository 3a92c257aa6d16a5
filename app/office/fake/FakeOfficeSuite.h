#pragma once

#include "FakeOfficeWorld.h"
#include "office/OfficeSuite.h"

#include <memory>

namespace vexlo::office {

// In-memory office for tests: workbooks and presentations live in a FakeOfficeWorld,
// every program is a fake process there, and each fault can be switched on.
class FakeOfficeSuite : public OfficeSuite {
public:
    explicit FakeOfficeSuite(std::shared_ptr<FakeOfficeWorld> world = std::make_shared<FakeOfficeWorld>());
    ~FakeOfficeSuite() override;

    FakeOfficeWorld& world() { return *m_world; }
    std::shared_ptr<FakeOfficeWorld> sharedWorld() { return m_world; }

    std::shared_ptr<PresentationApp> createPresentationApp() override;
    std::shared_ptr<SpreadsheetApp> createSpreadsheetApp() override;
    std::shared_ptr<SpreadsheetApp> attachRunningSpreadsheet() override;
    // Kept as a record only: a fake program starts at once anyway.
    void warmUp(OfficeKind kind) override { m_world->warmUps.append(kind); }
    void dropWarmedUp() override { ++m_world->warmDrops; }
    QString presentationProcessName() const override;
    QList<qint64> ownProcessIds() const override;

    struct Registry;

private:
    std::shared_ptr<FakeOfficeWorld> m_world;
    // Programs stay registered while they run, whether or not any handle is kept, so a
    // later attach finds them; handles reach it weakly and outlive the suite safely.
    std::shared_ptr<Registry> m_registry;
};

} // namespace vexlo::office
