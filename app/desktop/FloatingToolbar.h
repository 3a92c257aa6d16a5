#pragma once

#include "core/Form.h"

#include <cstdint>

class QLabel;
class QPushButton;

// Form3, the floating toolbar: a slim translucent strip that stands in for the main window
// while a talk runs, with the set and remaining time in one line, an icon back to the main
// window and one that hides the toolbar as well (after a hint panel on how to get back).
class FloatingToolbar : public Form {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form3;
    static constexpr int stripHeight = 510;
    static constexpr int hintHeight = 2265;
    // Constant alpha of the strip view, out of 255; the hint panel is opaque.
    static constexpr int stripAlpha = 150;
    static constexpr double stripOpacity = stripAlpha / 255.0;

    explicit FloatingToolbar(AppContext& ctx);

    // Takes the main window's place (the Shrink button): centred over it at its Top, in the
    // strip view, both timers on. The caller hides the main window.
    void showInPlaceOf(const Form& main);

    // Timer1, every 200 ms: the strip's text.
    void refresh();
    // Timer2, every 100 ms: inside the screen, and on top again every 31 ticks.
    void keepOnScreen();
    // Image1.
    void showMainWindow();
    // Image2: refused with a message, or the hint panel.
    void closeToolbar();
    // Command1 "确认" and Command2 "返回" of the hint panel.
    void confirm();
    void back();

    bool hintPanelShown() const;
    int16_t tickCounter() const { return m_ticks; }

protected:
    void onLoad() override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void toStripView();

    QLabel* m_text;
    QWidget* m_hintPanel;
    QPushButton* m_confirm;
    int16_t m_ticks = 0;
};
