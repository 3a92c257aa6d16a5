#pragma once

#include "LoSuiteCore.h"
#include "office/SpreadsheetApp.h"

#include <memory>

namespace vexlo::office {

class LoSpreadsheetApp : public SpreadsheetApp {
public:
    LoSpreadsheetApp(std::shared_ptr<LoSuiteCore> core, std::shared_ptr<lo::LoInstance> inst);

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

private:
    std::shared_ptr<lo::LoInstance> live() const;

    std::shared_ptr<LoSuiteCore> m_core;
    std::shared_ptr<lo::LoInstance> m_inst;
    FileProblem m_problem = FileProblem::None;
};

} // namespace vexlo::office
