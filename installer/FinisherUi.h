#pragma once

#include <QString>

// What the finisher's load sequence needs from its window.
class FinisherUi {
public:
    virtual ~FinisherUi() = default;
    virtual void showMessage(const QString& text) = 0;
    // Lets pending window events run once.
    virtual void yieldEvents() = 0;
};
