#pragma once

#include "OfficeTestBackend.h"
#include "office/fake/FakeOfficeSuite.h"

class FakeTestBackend : public OfficeTestBackend {
public:
    static FakeTestBackend& get();
    void reset();

    vexlo::office::FakeOfficeWorld& world() { return m_suite->world(); }

    vexlo::office::OfficeSuite& suite() override { return *m_suite; }
    void endAll() override;
    bool writeWorkbook(const QString& path, const vexlo::office::WorkbookContent& content,
                       const QString& password) override;
    bool writePresentation(const QString& path, int slides) override;
    std::unique_ptr<vexlo::office::OfficeSuite> suiteWithoutProgram() override;
    void killProcess(qint64 pid) override;
    bool processRunning(qint64 pid) override;
    qint64 startForeignOffice(const QString& documentPath) override;
    bool foreignOfficeHasDocumentOpen(qint64 pid, const QString& documentPath) override;
    void stopForeignOffice(qint64 pid) override;

private:
    std::unique_ptr<vexlo::office::FakeOfficeSuite> m_suite;
};

// Type tag for the typed scenario suites.
struct FakeBackend {
    static OfficeTestBackend& get() { return FakeTestBackend::get(); }
    static void reset() { FakeTestBackend::get().reset(); }
};
