#pragma once

#include "LibreOfficeOptions.h"
#include "office/OfficeSuite.h"
#include "office/WorkbookContent.h"

#include <memory>

namespace vexlo::office {

class LoSuiteCore;

// The office suite on this desktop: every application object is a LibreOffice process
// of its own, started with a private profile and pipe, ended by Quit, by the suite's
// destruction, or at the latest with this process.
class LibreOfficeSuite : public OfficeSuite {
public:
    explicit LibreOfficeSuite(LibreOfficeOptions options = {});
    ~LibreOfficeSuite() override;

    std::shared_ptr<PresentationApp> createPresentationApp() override;
    std::shared_ptr<SpreadsheetApp> createSpreadsheetApp() override;
    std::shared_ptr<SpreadsheetApp> attachRunningSpreadsheet() override;
    void warmUp(OfficeKind kind) override;
    void dropWarmedUp() override;
    QString presentationProcessName() const override;
    QList<qint64> ownProcessIds() const override;

    // Writes a new workbook file as "MS Excel 97", protected by `password` when it is not
    // empty (at most 15 characters: the format drops longer ones without a word).
    bool writeWorkbook(const QString& path, const WorkbookContent& content, const QString& password);
    // Writes a presentation of `slides` numbered slides as "MS PowerPoint 97".
    bool writePresentation(const QString& path, int slides);

    // Ends every application program this suite started (quitting, killing those that do
    // not answer). The hidden office that writes files stays until the suite goes.
    void endApplications();

    const LibreOfficeOptions& options() const;
    // The folder under which the private profiles are kept.
    QString profileRoot() const;

private:
    std::shared_ptr<LoSuiteCore> m_core;
};

} // namespace vexlo::office
