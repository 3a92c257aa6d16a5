#pragma once

#include "core/Form.h"

class QLabel;

// Form6, the enlarged timer window: the remaining time in digits across most of the
// screen and a status row, mirrored from the main window five times a second. It has no
// timing of its own. A double-click on the digits closes it and brings the main window back.
class EnlargedWindow : public Form {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form6;
    explicit EnlargedWindow(AppContext& ctx);

    // Timer1, every 200 ms.
    void refresh();
    // Largest font with which the widest text, "00 : 00", fits into the digits label.
    static int digitsPixelSize(const QLabel& label);

protected:
    void onLoad() override;
    void onUnload() override;
    void showEvent(QShowEvent* event) override;

private:
    // The refresh's first step: the digits from the main window's display.
    void mirrorDigits();
    // Its last step: the status row from the countdown state.
    void mirrorStatus();

    QLabel* m_digits;
    QLabel* m_setTime;
    QLabel* m_status;
};
