#pragma once

#include "DrawSession.h"
#include "ListWorkbook.h"

#include "core/Form.h"

#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class QPushButton;

namespace namelists {

// What sets one name-list draw window apart from the other: its layout, its workbook,
// its sizes, captions and placement.
struct DrawWindowSpec {
    FormId id = FormId::Form4;
    QString layoutResource;
    const ListLayout* list = nullptr;
    int fullWidth = 0;
    int fullHeight = 0;
    int compactWidth = 0;
    int compactHeight = 0;
    // Command2 before and after a preparation.
    QString editCaption;
    QString resultsCaption;
    QString roundOverMessage;
    // Top edge of the window whenever it is placed; unset: centred vertically.
    std::optional<int> fixedTop;
    // Whether the edit and results action takes the used range afresh.
    bool retakeUsedRangeOnView = true;
    // Buttons that take the focus under the pointer; controls that drag the window.
    QStringList hoverButtons;
    QStringList dragControls;
};

// What both draw windows share: their layout resource by id, the compact size and full
// height, buttons Command1 ... Command6 under the pointer, frames, labels and fields
// dragging.
DrawWindowSpec commonDrawWindowSpec(FormId id, const ListLayout& list, int fullWidth);

// Hold of the end-of-round pause: the Timer5 count to wait for, 0 for no wait.
int endOfRoundPause(int totalCount);

// The name-list draw: the list is opened in the spreadsheet program for checking,
// confirmed, prepared (read), and people are drawn from it one after the other, by hand
// or automatically, each draw number written back into the workbook. The group draw is
// the same window with another spec and a few hooks.
class NameDrawWindow : public Form {
    Q_OBJECT
public:
    NameDrawWindow(AppContext& ctx, DrawWindowSpec spec);
    ~NameDrawWindow() override;

    const DrawWindowSpec& spec() const { return m_spec; }
    const DrawSession& session() const { return *m_session; }

    // The handlers, as the buttons and timers run them.
    void editOrViewList(); // Command2
    void confirmList();    // Command5
    void prepare();        // Command3
    void manualDraw();     // Command4
    void automaticDraw();  // Command6
    void returnToMain();   // Command1

protected:
    void onLoad() override;
    void onUnload() override;
    void showEvent(QShowEvent* event) override;

    // Hooks for the group draw.
    virtual void beforeEditAction() {}
    virtual void editModeChosen(bool resultsMode) { (void)resultsMode; }
    virtual bool savesOnConfirm() const { return true; }
    // The held workbook is a view to be thrown away (sorted for reading): a return or a
    // close quits without saving and clears nothing, so the file keeps the draw.
    virtual bool holdsThrowawayView() const { return false; }

    DrawSession& liveSession() { return *m_session; }
    QPushButton* button(const char* name) const;
    void showMessage(const QString& message);
    // A save that failed is never passed over: the user is told what was not written and
    // why. The window may be closed when this returns.
    enum class Unsaved { Results, Edits };
    void reportSave(vexlo::office::FileProblem problem, Unsaved what);
    // Compact size with the confirmation panel in front, placed as the window requires.
    void showConfirmationPanel();
    void placeOnScreen();
    QString failureMessage(ListWorkbook::OpenResult opened) const;
    bool closing() const { return m_closing || m_returning; }
    // Lets pending events run `times` times, as the handlers do at their yield points.
    // False when the window was closed meanwhile; it may then be destroyed already, and
    // the caller touches nothing of it any more.
    static bool stays(const QPointer<NameDrawWindow>& self, int times);
    // As stays(self, 1), but sleeps until at least one event has come.
    static bool waitsForEvents(const QPointer<NameDrawWindow>& self);
    // Watches the window across yields: null once it has been destroyed.
    using Guard = QPointer<NameDrawWindow>;

private:
    // The next preparation will start a spreadsheet program: it starts now, in the
    // background, and is ended with the window if nobody took it.
    void warmUpOffice();
    void setSize(int width, int height);
    void onResized();
    void endRound();
    void refusePreparation(ListWorkbook::OpenResult opened, bool keepCorrections);
    void setInputBlocked(bool blocked);
    void showPerson(int k);

    void rollTick();
    void glideTick();
    void keepOnScreenTick();
    void inputBlockTick();
    void waitTick();

    DrawWindowSpec m_spec;
    std::unique_ptr<DrawSession> m_session;
    bool m_shownOnce = false;
    bool m_inputBlocked = false;
    // From the last draw on: a close or a return keeps the round.
    bool m_roundEnded = false;
    bool m_returning = false;
    bool m_closing = false;
};

} // namespace namelists
