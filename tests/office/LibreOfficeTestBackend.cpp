#include "LibreOfficeTestBackend.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <signal.h>
#include <unistd.h>

using namespace vexlo::office;

bool processAlive(qint64 pid) {
    if (pid <= 0) return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    return close > 0 && close + 2 < line.size() && line[close + 2] != 'Z' && line[close + 2] != 'X';
}

LibreOfficeTestBackend::LibreOfficeTestBackend() : m_suite(std::make_unique<LibreOfficeSuite>()) {}

LibreOfficeTestBackend& LibreOfficeTestBackend::get() {
    // Kept until shutdown() at the end of the run, not to static destruction.
    static auto* backend = new LibreOfficeTestBackend;
    return *backend;
}

void LibreOfficeTestBackend::endAll() { m_suite->endApplications(); }

void LibreOfficeTestBackend::shutdown() {
    for (qint64 pid : m_foreign.keys()) stopForeignOffice(pid);
    m_suite.reset();
}

bool LibreOfficeTestBackend::writeWorkbook(const QString& path, const WorkbookContent& content,
                                           const QString& password) {
    return m_suite->writeWorkbook(path, content, password);
}

bool LibreOfficeTestBackend::writePresentation(const QString& path, int slides) {
    return m_suite->writePresentation(path, slides);
}

std::unique_ptr<OfficeSuite> LibreOfficeTestBackend::suiteWithoutProgram() {
    LibreOfficeOptions o;
    o.programDir = QStringLiteral("/nonexistent/libreoffice/program");
    return std::make_unique<LibreOfficeSuite>(o);
}

void LibreOfficeTestBackend::killProcess(qint64 pid) {
    ASSERT_GT(pid, 0);
    ::kill(pid_t(pid), SIGKILL);
    // SIGKILL lands a moment later; the scenarios mean an office that has died.
    QDeadlineTimer deadline(5000);
    while (processAlive(pid) && !deadline.hasExpired()) QThread::msleep(2);
}

bool LibreOfficeTestBackend::processRunning(qint64 pid) { return processAlive(pid); }

QString LibreOfficeTestBackend::lockFileOf(const QString& path) {
    const QFileInfo fi(path);
    return fi.absoluteDir().filePath(QStringLiteral(".~lock.%1#").arg(fi.fileName()));
}

QString LibreOfficeTestBackend::foreignProfile() {
    return QDir::temp().filePath(QStringLiteral("vexlo-test-user-office-%1").arg(::getuid()));
}

qint64 LibreOfficeTestBackend::startForeignOffice(const QString& documentPath) {
    // The user's own office: the ordinary launcher, its own profile, an unprotected copy of
    // the document (a protected one would ask for its password).
    const QString plain = documentPath + QStringLiteral(".plain.xls");
    WorkbookContent content{{SheetContent{QStringLiteral("sheet1"), {{{1, 1}, QStringLiteral("user's own")}}}}};
    if (!m_suite->writeWorkbook(plain, content, QString())) return 0;
    QFile::remove(documentPath);
    QFile::rename(plain, documentPath);
    auto* p = new QProcess;
    p->setChildProcessModifier([] { ::setpgid(0, 0); });
    p->setProgram(QStringLiteral("/usr/lib/libreoffice/program/soffice"));
    p->setArguments({QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                     QStringLiteral("-env:UserInstallation=file://%1").arg(foreignProfile()), documentPath});
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start();
    if (!p->waitForStarted(10000)) {
        delete p;
        return 0;
    }
    // It is up once its lock file is there.
    QDeadlineTimer deadline(60000);
    while (!QFileInfo::exists(lockFileOf(documentPath)) && !deadline.hasExpired() && p->state() == QProcess::Running)
        QThread::msleep(50);
    m_foreign.insert(p->processId(), p);
    return p->processId();
}

bool LibreOfficeTestBackend::foreignOfficeHasDocumentOpen(qint64 pid, const QString& documentPath) {
    auto* p = m_foreign.value(pid);
    if (!p || p->state() != QProcess::Running) return false;
    QFile lock(lockFileOf(documentPath));
    return lock.open(QIODevice::ReadOnly) && QString::fromUtf8(lock.readAll()).contains(foreignProfile());
}

void LibreOfficeTestBackend::stopForeignOffice(qint64 pid) {
    auto* p = m_foreign.take(pid);
    if (!p) return;
    ::kill(-pid_t(pid), SIGKILL);
    p->waitForFinished(10000);
    delete p;
}
