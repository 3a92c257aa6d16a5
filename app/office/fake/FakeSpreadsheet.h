#pragma once

#include "FakeOfficeWorld.h"
#include "office/SpreadsheetApp.h"
#include "office/WorkbookContent.h"

#include <functional>
#include <memory>

namespace vexlo::office {

// A workbook loaded into a fake spreadsheet program: a private copy of the file's
// contents, written back only by a save.
struct FakeDocument {
    QString path;
    QString password;
    WorkbookContent content;
    bool open = true;
    int activeSheet = 0;
    bool windowVisible = false;
    bool maximized = false;
    int firstVisibleRow = 1;
};

struct FakeSpreadsheetInstance {
    qint64 pid = 0;
    bool visible = false;
    bool alerts = true;
    QList<std::shared_ptr<FakeDocument>> documents; // the last one is the active one
};

class FakeSpreadsheetApp : public SpreadsheetApp {
public:
    using Starter = std::function<std::shared_ptr<FakeSpreadsheetInstance>()>;

    FakeSpreadsheetApp(std::shared_ptr<FakeOfficeWorld> world, std::shared_ptr<FakeSpreadsheetInstance> instance,
                       Starter starter);

    std::shared_ptr<Workbook> Open(const QString& fullPath, const QString& password) override;
    std::shared_ptr<Workbook> ActiveWorkbook() override;
    std::shared_ptr<Worksheet> ActiveSheet() override;
    std::shared_ptr<SheetRange> ActiveSheetRange(const QString& text) override;
    bool MaximizeActiveWindow() override;
    bool SetVisible(bool visible) override;
    bool ScrollActiveWindowUp(int screens) override;
    bool SaveActiveWorkbook() override;
    FileProblem LastFileProblem() const override;
    bool SetDisplayAlerts(bool on) override;
    bool DisplayAlerts() override;
    bool Quit() override;
    bool IsRunning() override;
    qint64 ProcessId() const override;

    // Inspection for tests of later windows.
    bool isVisible() const { return m_instance && m_instance->visible; }
    std::shared_ptr<FakeDocument> activeDocument() const;

private:
    bool answer();

    std::shared_ptr<FakeOfficeWorld> m_world;
    std::shared_ptr<FakeSpreadsheetInstance> m_instance;
    Starter m_starter;
    FileProblem m_problem = FileProblem::None;
};

} // namespace vexlo::office
