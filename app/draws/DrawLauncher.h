#pragma once

#include "core/Form.h"

class QLineEdit;

namespace draws {

// Form2, the draw menu. It takes the main window's place when the Draw button lets it
// open, leads to every draw and the two instruction presentations, holds the count entry
// of the order-number draw and the confirmation before that draw is left.
class DrawLauncher : public Form {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form2;
    explicit DrawLauncher(AppContext& ctx);

    // Shows the menu in place of the main window (the Draw button's guard has passed).
    void openInPlaceOfMainWindow(Form& mainWindow);
    // The order-number draw's "结  束": asks whether to leave the unfinished draw.
    void showExitConfirmation();

protected:
    void onLoad() override;
    void onUnload() override;

private:
    Form* mainWindow() const;
    QWidget* c(const char* name) const { return controlWidget(QLatin1String(name)); }

    void showCountBox();
    void confirmCount();
    void cancel();
    void closeAsShown();
    void returnToMainWindow();
    void openListDraw(FormId id);
    void openSlideDraw();
    void playInstructions(const QString& fileName, const QString& presentationOpenText);
    // The check before anything that would start the presentation program; true when it
    // stopped the button (the user was told and is back at the main window).
    bool presentationProgramBlocks(const QString& text);
    void closeOpenPlayer();
    void countEdited();
    void keepOnScreen();
    void endOrderDraw();
    void continueOrderDraw();
    void hideExitConfirmation();
    // The presentation program started when the menu opened, if the way chosen from the
    // menu did not take it.
    void dropWarmOffice();

    QLineEdit* m_count;
};

} // namespace draws
