#include "NameDrawWindow.h"

#include "ListTexts.h"
#include "ShownText.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "office/SpreadsheetApp.h"
#include "platform/FileLookup.h"
#include "platform/Platform.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPointer>
#include <QPushButton>

Q_DECLARE_LOGGING_CATEGORY(lcNameDraw)

namespace namelists {

namespace {
constexpr int kScrollUpScreens = 25;

} // namespace

// --- edit and results, confirmation ------------------------------------------------------

void NameDrawWindow::editOrViewList() {
    const Guard self(this);
    DrawSession& s = liveSession();
    ListWorkbook& wb = s.workbook;
    beforeEditAction();
    QPushButton* edit = button("Command2");
    const bool resultsMode = edit->text() == m_spec.resultsCaption;
    if (resultsMode)
        ++s.resultViewCount;
    else
        edit->setEnabled(false);
    editModeChosen(resultsMode);

    showConfirmationPanel();
    if (!s.listShownOnce) {
        s.listShownOnce = true;
        button("Command3")->setEnabled(true);
        requestFocus(button("Command3"));
    }
    QPushButton* confirm = button("Command5");
    confirm->setEnabled(false);
    confirm->setText(listTexts::opening);

    std::optional<ListWorkbook::OpenResult> opened;
    if (s.resultViewCount <= 2) {
        opened = wb.openListWorkbook();
        if (m_spec.retakeUsedRangeOnView)
            wb.takeUsedRange();
    }
    wb.validateCountsSilent(s.counts);

    confirm->setText(listTexts::confirmCaption);
    confirm->setEnabled(true);
    requestFocus(confirm);
    setLeft(screenLeft());
    timer(QStringLiteral("Timer2"))->setEnabled(true);

    if (!s.prepared)
        wb.clearOldResults();
    if (!wb.showWorkbook([&self] { return stays(self, 1); }))
        return;
    s.workbookHeld = true;
    wb.emptyStatusCell();
    if (!stays(self, 2))
        return;
    // Nothing to check in a workbook that never opened: say so rather than wait for it.
    if (opened && *opened != ListWorkbook::OpenResult::Opened)
        showMessage(failureMessage(*opened));
}

void NameDrawWindow::confirmList() {
    const Guard self(this);
    DrawSession& s = liveSession();
    s.resultViewCount = 1;
    vexlo::office::FileProblem unsaved = vexlo::office::FileProblem::None;
    // The full window is centred below; a glide still under way would carry it off.
    timer(QStringLiteral("Timer2"))->setEnabled(false);
    if (auto running = ListWorkbook::attachRunning(ctx().office)) {
        // Closed meanwhile: the unload has saved and ended the program.
        if (!stays(self, 2))
            return;
        running->ScrollActiveWindowUp(kScrollUpScreens);
        if (!stays(self, 4))
            return;
        // A workbook without the list's sheet got nothing of ours: it is left as it was.
        if (savesOnConfirm() && s.workbook.worksheet())
            unsaved = ListWorkbook::saveAndQuit(*running);
        else
            running->Quit();
    }
    s.workbookHeld = false;
    controlWidget(QStringLiteral("Frame3"))->hide();
    controlWidget(QStringLiteral("Frame1"))->show();
    setSize(m_spec.fullWidth, m_spec.fullHeight);
    placeOnScreen();
    if (button("Command3")->isEnabled())
        requestFocus(button("Command3"));
    warmUpOffice();
    reportSave(unsaved, Unsaved::Edits);
}

QString NameDrawWindow::failureMessage(ListWorkbook::OpenResult opened) const {
    const ListLayout& list = *m_spec.list;
    switch (opened) {
    case ListWorkbook::OpenResult::ProgramMissing:
        return listTexts::programMissing;
    case ListWorkbook::OpenResult::OpenFailed:
        return listTexts::openFailed(list.fileName);
    case ListWorkbook::OpenResult::SheetMissing:
        return listTexts::sheetMissing(list.fileName, kListSheet);
    case ListWorkbook::OpenResult::Refused:
        return listTexts::refused(list.fileName, session().workbook.problem());
    case ListWorkbook::OpenResult::Opened:
        break;
    }
    const ListCounts& c = session().counts;
    if (c.totalCount < 1)
        return listTexts::noPeople(m_spec.editCaption, list.totalCell.name());
    if (c.participantCount < 1)
        return listTexts::noParticipants(m_spec.editCaption, list.participantCell.name());
    return {};
}

// --- return --------------------------------------------------------------------------------------

void NameDrawWindow::returnToMain() {
    AppContext& ctx = this->ctx();
    const FormId id = formId();
    const Guard self(this);
    // Closed by something else meanwhile: that unload has given everything back.
    auto pause = [&self](int times) {
        if (!self)
            return false;
        self->ctx().yield(times);
        return !self.isNull() && !self->m_closing;
    };
    DrawSession& s = liveSession();
    ListWorkbook& wb = s.workbook;
    vexlo::office::FileProblem unsaved = vexlo::office::FileProblem::None;
    m_returning = true;
    hide();
    s.resultViewCount = 1;
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    button("Command4")->setEnabled(false);
    button("Command3")->setEnabled(true);
    if (!pause(1))
        return;
    if (s.workbookHeld && (holdsThrowawayView() || !wb.worksheet())) {
        wb.quit();
        wb.release();
        s.workbookHeld = false;
    } else if (s.workbookHeld) {
        // Only a round still being drawn is taken back; the results of a finished one stay.
        if (!m_roundEnded)
            wb.clearOnAbandon(s.counts.totalCount);
        if (!pause(2))
            return;
        if (auto* app = wb.app())
            app->ScrollActiveWindowUp(kScrollUpScreens);
        if (!pause(3))
            return;
        if (auto* app = wb.app())
            unsaved = ListWorkbook::saveAndQuit(*app);
        wb.release();
        s.workbookHeld = false;
    }
    if (auto running = ListWorkbook::attachRunning(ctx.office)) {
        const vexlo::office::FileProblem left = ListWorkbook::saveAndQuit(*running);
        if (unsaved == vexlo::office::FileProblem::None)
            unsaved = left;
        running.reset();
        if (!pause(2))
            return;
    }
    setInputBlocked(false);
    if (Form* main = ctx.forms.ref(FormId::Form1)) {
        main->show();
        main->timer(QStringLiteral("Timer2"))->setEnabled(true);
    }
    hide();
    reportSave(unsaved, Unsaved::Edits);
    if (!self || m_closing)
        return;
    for (const char* name : {"Timer1", "Timer2", "Timer3"})
        timer(QLatin1String(name))->setEnabled(false);
    if (!pause(1))
        return;
    // The window object stays until the event loop deletes it; nothing below touches it.
    ctx.forms.unload(id);
    ctx.yield(4);
}


} // namespace namelists
