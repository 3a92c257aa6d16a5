#include "FakeOfficeWorld.h"

#include "office/OfficeLogging.h"

#include <QDir>
#include <QFileInfo>

namespace vexlo::office {

QString FakeOfficeWorld::key(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void FakeOfficeWorld::writeWorkbookFile(const QString& path, const WorkbookContent& content,
                                        const QString& password) {
    auto& f = m_workbooks[key(path)];
    f.content = content;
    f.password = password;
    m_presentations.remove(key(path));
}

std::optional<WorkbookContent> FakeOfficeWorld::readWorkbookFile(const QString& path,
                                                                 const QString& password) const {
    const auto* f = workbookFile(path);
    if (!f || f->password != password) return std::nullopt;
    return f->content;
}

const FakeOfficeWorld::WorkbookFile* FakeOfficeWorld::workbookFile(const QString& path) const {
    auto it = m_workbooks.constFind(key(path));
    return it == m_workbooks.constEnd() ? nullptr : &*it;
}

FakeOfficeWorld::WorkbookFile* FakeOfficeWorld::workbookFile(const QString& path) {
    auto it = m_workbooks.find(key(path));
    return it == m_workbooks.end() ? nullptr : &*it;
}

void FakeOfficeWorld::writePresentationFile(const QString& path, int slideCount) {
    m_presentations[key(path)].slideCount = slideCount;
    m_workbooks.remove(key(path));
}

const FakeOfficeWorld::PresentationFile* FakeOfficeWorld::presentationFile(const QString& path) const {
    auto it = m_presentations.constFind(key(path));
    return it == m_presentations.constEnd() ? nullptr : &*it;
}

void FakeOfficeWorld::removeFile(const QString& path) {
    m_workbooks.remove(key(path));
    m_presentations.remove(key(path));
}

qint64 FakeOfficeWorld::startProcess(const QString& executable, bool own, const QString& documentPath) {
    FakeProcess p;
    p.pid = m_nextPid++;
    p.executable = executable;
    p.own = own;
    p.documentPath = documentPath;
    m_processes.append(p);
    return p.pid;
}

bool FakeOfficeWorld::isRunning(qint64 pid) const {
    const auto* p = process(pid);
    return p && p->running;
}

void FakeOfficeWorld::kill(qint64 pid) {
    for (auto& p : m_processes)
        if (p.pid == pid) p.running = false;
}

const FakeProcess* FakeOfficeWorld::process(qint64 pid) const {
    for (const auto& p : m_processes)
        if (p.pid == pid) return &p;
    return nullptr;
}

QList<qint64> FakeOfficeWorld::runningProcesses(bool own) const {
    QList<qint64> pids;
    for (const auto& p : m_processes)
        if (p.running && p.own == own) pids.append(p.pid);
    return pids;
}

bool FakeOfficeWorld::answer(qint64 pid) {
    for (auto& p : m_processes) {
        if (p.pid != pid) continue;
        if (!p.running) return false;
        if (faults.dieAfterCalls >= 0 && p.callsAnswered >= faults.dieAfterCalls) {
            qCDebug(lcOfficeFake) << "fake office" << pid << "dies after" << p.callsAnswered << "calls";
            p.running = false;
            return false;
        }
        ++p.callsAnswered;
        return true;
    }
    return false;
}

} // namespace vexlo::office
