#include "LibreOfficeSuite.h"

#include "LoPresentation.h"
#include "LoSpreadsheet.h"
#include "LoSuiteCore.h"

#include <QDir>
#include <QStandardPaths>

namespace vexlo::office {

LibreOfficeSuite::LibreOfficeSuite(LibreOfficeOptions options) : m_core(std::make_shared<LoSuiteCore>()) {
    m_core->options = options;
    m_core->programDir = options.programDir.isEmpty() ? QStringLiteral(VEXLO_LO_PROGRAM_DIR) : options.programDir;
    // Under the user's cache folder, kept between runs so later starts are warm.
    m_core->profileRoot =
        options.profileRoot.isEmpty()
            ? QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
                  .filePath(QStringLiteral("vexlo/office-profiles"))
            : options.profileRoot;
}

LibreOfficeSuite::~LibreOfficeSuite() {
    m_core->warm.drop();
    m_core->dropUtility();
    for (auto& inst : lo::LoRegistry::instance().takeOwnedBy(m_core.get())) inst->quit();
}

void LibreOfficeSuite::endApplications() {
    m_core->warm.drop();
    auto utility = m_core->utility(false);
    for (auto& inst : lo::LoRegistry::instance().takeOwnedBy(m_core.get())) {
        if (inst == utility) lo::LoRegistry::instance().add(inst, m_core.get());
        else inst->quit();
    }
}

std::shared_ptr<PresentationApp> LibreOfficeSuite::createPresentationApp() {
    auto inst = m_core->start(lo::LoInstance::Kind::Presentation);
    if (!inst) return nullptr;
    return std::make_shared<LoPresentationApp>(inst);
}

std::shared_ptr<SpreadsheetApp> LibreOfficeSuite::createSpreadsheetApp() {
    auto inst = m_core->start(lo::LoInstance::Kind::Spreadsheet);
    if (!inst) return nullptr;
    return std::make_shared<LoSpreadsheetApp>(m_core, inst);
}

std::shared_ptr<SpreadsheetApp> LibreOfficeSuite::attachRunningSpreadsheet() {
    auto inst = lo::LoRegistry::instance().latest(lo::LoInstance::Kind::Spreadsheet);
    if (!inst) return nullptr;
    return std::make_shared<LoSpreadsheetApp>(m_core, inst);
}

QString LibreOfficeSuite::presentationProcessName() const { return QStringLiteral("soffice.bin"); }

void LibreOfficeSuite::warmUp(OfficeKind kind) {
    m_core->warm.warmUp(kind == OfficeKind::Presentation ? lo::LoInstance::Kind::Presentation
                                                         : lo::LoInstance::Kind::Spreadsheet);
}

void LibreOfficeSuite::dropWarmedUp() { m_core->warm.drop(); }

QList<qint64> LibreOfficeSuite::ownProcessIds() const {
    return lo::LoRegistry::instance().pids() + m_core->warm.pids();
}

const LibreOfficeOptions& LibreOfficeSuite::options() const { return m_core->options; }

QString LibreOfficeSuite::profileRoot() const { return m_core->profileRoot; }

} // namespace vexlo::office
