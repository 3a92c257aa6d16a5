#pragma once

#include "office/FileProblem.h"
#include "office/OfficeSuite.h"
#include "office/WorkbookContent.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace vexlo::office {

// Faults the fake office can be told to show. All off by default.
struct FakeFaults {
    bool programMissing = false; // creating (or attaching to) a program fails
    bool fileMissing = false;    // every open fails as if the file were not there
    bool wrongPassword = false;  // every open fails as if the password were wrong
    bool sheetMissing = false;   // every worksheet lookup fails
    // Every open is refused after loading, as the office refuses a workbook it can only
    // read (in use elsewhere, read-only); None never.
    FileProblem openRefused = FileProblem::None;
    // Every save fails with this; None never.
    FileProblem saveFails = FileProblem::None;
    // A program dies once it has answered this many calls, in the middle of whatever
    // the caller was doing; -1 never.
    int dieAfterCalls = -1;
};

// What a fake office program process is running.
struct FakeProcess {
    qint64 pid = 0;
    QString executable;
    bool running = true;
    bool own = false;        // started by the suite (a private instance)
    QString documentPath;    // the document a foreign office has open
    int callsAnswered = 0;
};

// The world the fake office lives in: its files and its processes. Files are keyed by
// their cleaned absolute path; nothing touches the disk.
class FakeOfficeWorld {
public:
    struct WorkbookFile {
        WorkbookContent content;
        QString password;
        int saves = 0;
    };
    struct PresentationFile {
        int slideCount = 0;
    };

    FakeFaults faults;
    QString presentationProcessName = QStringLiteral("soffice.bin");

    void writeWorkbookFile(const QString& path, const WorkbookContent& content, const QString& password);
    // The stored contents when the password opens the file; empty otherwise.
    std::optional<WorkbookContent> readWorkbookFile(const QString& path, const QString& password) const;
    const WorkbookFile* workbookFile(const QString& path) const;
    WorkbookFile* workbookFile(const QString& path);
    void writePresentationFile(const QString& path, int slideCount);
    const PresentationFile* presentationFile(const QString& path) const;
    void removeFile(const QString& path);

    // Processes: the suite's own instances and foreign ones the tests start.
    qint64 startProcess(const QString& executable, bool own, const QString& documentPath = {});
    bool isRunning(qint64 pid) const;
    void kill(qint64 pid);
    const FakeProcess* process(qint64 pid) const;
    QList<qint64> runningProcesses(bool own) const;

    // One call answered by program `pid`: false when it is gone or dies now.
    bool answer(qint64 pid);

    // Programs asked to start ahead, in order, and how often those were dropped.
    QList<OfficeKind> warmUps;
    int warmDrops = 0;

    static QString key(const QString& path);

private:
    QHash<QString, WorkbookFile> m_workbooks;
    QHash<QString, PresentationFile> m_presentations;
    QList<FakeProcess> m_processes;
    qint64 m_nextPid = 40000;
};

} // namespace vexlo::office
