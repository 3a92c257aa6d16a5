#pragma once

#include "platform/MessageBoxes.h"

namespace platform {

class QtMessageBoxes : public MessageBoxes {
public:
    void information(const QString& title, const QString& text) override;
    Answer askYesNo(const QString& title, const QString& text) override;
};

} // namespace platform
