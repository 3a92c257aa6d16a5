#pragma once

#include "office/OfficeSuite.h"
#include "office/WorkbookContent.h"

#include <QString>

#include <memory>

// What the shared scenarios need from a backend besides the office interface itself:
// fixtures, a way to kill a program behind the suite's back, and a foreign office.
class OfficeTestBackend {
public:
    virtual ~OfficeTestBackend() = default;

    virtual vexlo::office::OfficeSuite& suite() = 0;
    // Ends every program the suite started, so each scenario starts clean.
    virtual void endAll() = 0;

    virtual bool writeWorkbook(const QString& path, const vexlo::office::WorkbookContent& content,
                               const QString& password) = 0;
    virtual bool writePresentation(const QString& path, int slides) = 0;

    // A suite whose office program cannot be found.
    virtual std::unique_ptr<vexlo::office::OfficeSuite> suiteWithoutProgram() = 0;

    virtual void killProcess(qint64 pid) = 0;
    virtual bool processRunning(qint64 pid) = 0;

    // The user's own office, started outside the suite with `documentPath` open.
    virtual qint64 startForeignOffice(const QString& documentPath) = 0;
    virtual bool foreignOfficeHasDocumentOpen(qint64 pid, const QString& documentPath) = 0;
    virtual void stopForeignOffice(qint64 pid) = 0;
};
