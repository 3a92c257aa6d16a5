#pragma once

#include <QString>

namespace platform {

// System-modal message boxes: they stay above every window until answered. No icon.
class MessageBoxes {
public:
    enum class Answer { Ok, Yes, No };
    virtual ~MessageBoxes() = default;
    virtual void information(const QString& title, const QString& text) = 0;
    // Yes and No buttons with No as the default.
    virtual Answer askYesNo(const QString& title, const QString& text) = 0;
};

} // namespace platform
