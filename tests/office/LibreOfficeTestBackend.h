#pragma once

#include "OfficeTestBackend.h"
#include "office/libreoffice/LibreOfficeSuite.h"

#include <QHash>
#include <QProcess>

class LibreOfficeTestBackend : public OfficeTestBackend {
public:
    static LibreOfficeTestBackend& get();

    vexlo::office::LibreOfficeSuite& lo() { return *m_suite; }

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

    // Ends everything, the suite included; run once after the last test.
    void shutdown();

    static QString lockFileOf(const QString& path);
    static QString foreignProfile();

private:
    LibreOfficeTestBackend();
    std::unique_ptr<vexlo::office::LibreOfficeSuite> m_suite;
    QHash<qint64, QProcess*> m_foreign;
};

struct LibreOfficeBackend {
    static OfficeTestBackend& get() { return LibreOfficeTestBackend::get(); }
    static void reset() {}
};

// True while the process exists and is not a zombie.
bool processAlive(qint64 pid);
