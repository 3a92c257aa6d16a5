#include "FakeTestBackend.h"

using namespace vexlo::office;

FakeTestBackend& FakeTestBackend::get() {
    static FakeTestBackend backend;
    if (!backend.m_suite) backend.reset();
    return backend;
}

void FakeTestBackend::reset() { m_suite = std::make_unique<FakeOfficeSuite>(); }

void FakeTestBackend::endAll() {
    for (qint64 pid : m_suite->ownProcessIds()) m_suite->world().kill(pid);
}

bool FakeTestBackend::writeWorkbook(const QString& path, const WorkbookContent& content,
                                    const QString& password) {
    world().writeWorkbookFile(path, content, password);
    return true;
}

bool FakeTestBackend::writePresentation(const QString& path, int slides) {
    world().writePresentationFile(path, slides);
    return true;
}

std::unique_ptr<OfficeSuite> FakeTestBackend::suiteWithoutProgram() {
    auto suite = std::make_unique<FakeOfficeSuite>();
    suite->world().faults.programMissing = true;
    return suite;
}

void FakeTestBackend::killProcess(qint64 pid) { world().kill(pid); }

bool FakeTestBackend::processRunning(qint64 pid) { return world().isRunning(pid); }

qint64 FakeTestBackend::startForeignOffice(const QString& documentPath) {
    return world().startProcess(QStringLiteral("soffice.bin"), false, FakeOfficeWorld::key(documentPath));
}

bool FakeTestBackend::foreignOfficeHasDocumentOpen(qint64 pid, const QString& documentPath) {
    const auto* p = world().process(pid);
    return p && p->running && p->documentPath == FakeOfficeWorld::key(documentPath);
}

void FakeTestBackend::stopForeignOffice(qint64 pid) { world().kill(pid); }
