#pragma once

#include <QString>

#include <memory>

namespace vexlo::office {

class Worksheet;

// An open workbook.
class Workbook {
public:
    virtual ~Workbook() = default;

    // Sheet names compare without regard to case ("sheet1" finds "Sheet1").
    virtual std::shared_ptr<Worksheet> SelectWorksheet(const QString& name) = 0;
    // Writes the workbook back to its file, in its format and with its open password.
    virtual bool Save() = 0;
    virtual QString FullName() = 0;
};

} // namespace vexlo::office
