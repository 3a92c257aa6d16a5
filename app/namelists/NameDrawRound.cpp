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
constexpr int kAutomaticPauseMs = 25;

} // namespace

// --- preparation ---------------------------------------------------------------------------

void NameDrawWindow::refusePreparation(ListWorkbook::OpenResult opened, bool keepCorrections) {
    DrawSession& s = liveSession();
    // Nothing is drawn from this list, so nothing of it is written: the program goes
    // without saving and the file stays as the user left it, but for count corrections
    // the user has already been told were made.
    const vexlo::office::FileProblem unsaved =
        keepCorrections ? s.workbook.saveAndQuit() : (s.workbook.quit(), vexlo::office::FileProblem::None);
    s.workbookHeld = false;
    s.prepared = false;
    s.prepCount = 1;
    warmUpOffice();
    QPushButton* edit = button("Command2");
    edit->setText(m_spec.editCaption);
    edit->setEnabled(true);
    button("Command3")->setEnabled(true);
    button("Command4")->setEnabled(false);
    button("Command6")->setEnabled(false);
    control<QLineEdit>(QStringLiteral("Text3"))->setText(QStringLiteral("?"));
    const Guard self(this);
    showMessage(failureMessage(opened));
    if (!self || closing())
        return;
    reportSave(unsaved, Unsaved::Edits);
    if (!self || closing())
        return;
    requestFocus(edit);
}

void NameDrawWindow::prepare() {
    const Guard self(this);
    DrawSession& s = liveSession();
    ListWorkbook& wb = s.workbook;
    s.prepared = true;
    ++s.prepCount;
    button("Command2")->setText(m_spec.resultsCaption);
    auto* drawNumber = control<QLineEdit>(QStringLiteral("Text3"));
    if (s.prepCount > 2) {
        s.prepCount = 3;
        drawNumber->setText(QString::number(s.drawnCount + 1));
    } else {
        const ListWorkbook::OpenResult opened = wb.openListWorkbook();
        s.workbookHeld = true;
        wb.takeUsedRange();
        const bool ok = opened == ListWorkbook::OpenResult::Opened;
        const ListWorkbook::Corrections corrected = wb.validateCountsCorrecting(s.counts);
        // A workbook that never opened corrected nothing; its own message says why.
        if (corrected.totalCapped && ok) {
            showMessage(listTexts::totalCapped);
            if (!self || closing())
                return;
        }
        control<QLabel>(QStringLiteral("Label3"))
            ->setText(listTexts::countLine(s.counts.totalCount, s.counts.participantCount));
        if (corrected.participantsCorrected && ok) {
            showMessage(listTexts::participantsCorrected);
            if (!self || closing())
                return;
        }
        if (!ok || s.counts.totalCount < 1 || s.counts.participantCount < 1) {
            refusePreparation(opened, ok && (corrected.totalCapped || corrected.participantsCorrected));
            return;
        }
        wb.loadNames(s.people, s.counts.totalCount);
        s.drawnCount = 0;
        m_roundEnded = false;
        drawNumber->setText(QStringLiteral("1"));
        if (!stays(self, 1))
            return;
    }
    timer(QStringLiteral("Timer1"))->setEnabled(true);
    button("Command3")->setEnabled(false);
    button("Command2")->setEnabled(false);
    QPushButton* automatic = button("Command6");
    automatic->setEnabled(s.autoAllowed == QLatin1String("Y"));
    if (automatic->isEnabled())
        requestFocus(automatic);
    QPushButton* manual = button("Command4");
    manual->setEnabled(s.manualAllowed == QLatin1String("Y"));
    if (manual->isEnabled())
        requestFocus(manual);
}

// --- drawing ---------------------------------------------------------------------------------

void NameDrawWindow::showPerson(int k) {
    const PersonEntry* p = liveSession().people.at(k);
    if (!p)
        return;
    for (const auto& [name, text] : {std::pair{"Text1", &p->listNumber}, std::pair{"Text2", &p->personName}}) {
        auto* field = control<QLineEdit>(QLatin1String(name));
        field->setText(shownText(*text));
        field->setCursorPosition(0);
    }
}

void NameDrawWindow::rollTick() {
    const int k = liveSession().people.rollingPick(ctx().random, liveSession().counts.totalCount);
    if (k > 0)
        showPerson(k);
}

void NameDrawWindow::manualDraw() {
    DrawSession& s = liveSession();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    button("Command3")->setEnabled(true);
    button("Command6")->setEnabled(false);
    s.manualAllowed = QStringLiteral("Y");
    s.autoAllowed = QStringLiteral("N");

    const int k = s.people.randomPick(ctx().random, s.counts.totalCount);
    if (k == 0) {
        // No round in hand, or everybody drawn: there is nobody to draw.
        qCDebug(lcNameDraw) << "manual draw without anybody left to draw";
        return;
    }
    s.currentPick = int16_t(k);
    showPerson(k);
    s.people.at(k)->available = false;
    ++s.drawnCount;
    control<QLineEdit>(QStringLiteral("Text3"))->setText(QString::number(s.drawnCount));
    s.workbook.recordDraw(k, s.drawnCount);
    ++s.drawsSinceOpen;
    if (s.drawsSinceOpen != s.counts.participantCount && s.people.anyAvailable(1, s.counts.participantCount)) {
        requestFocus(button("Command3"));
        return;
    }
    endRound();
}

void NameDrawWindow::endRound() {
    const Guard self(this);
    DrawSession& s = liveSession();
    m_roundEnded = true;
    button("Command3")->setEnabled(false);
    button("Command4")->setEnabled(false);
    button("Command6")->setEnabled(false);
    setInputBlocked(false);
    controlWidget(QStringLiteral("Frame4"))->hide();
    controlWidget(QStringLiteral("Frame5"))->show();
    button("Command1")->setEnabled(false);

    if (button("Command2")->text() == m_spec.resultsCaption) {
        const int threshold = endOfRoundPause(s.counts.totalCount);
        if (threshold == 0) {
            if (!stays(self, 2))
                return;
        } else {
            FormTimer* wait = timer(QStringLiteral("Timer5"));
            wait->setEnabled(true);
            // Ends early when the window is closed under it. Each turn sleeps until an
            // event comes (Timer5's tick at the latest) rather than spinning a core.
            while (s.waitTicks < threshold && wait->enabled()) {
                if (!waitsForEvents(self) || !stays(self, 1))
                    return;
            }
            wait->setEnabled(false);
            s.waitTicks = 1;
        }
    }

    controlWidget(QStringLiteral("Frame5"))->hide();
    button("Command1")->setEnabled(true);
    button("Command2")->setEnabled(true);
    requestFocus(button("Command2"));
    showMessage(m_spec.roundOverMessage);
    if (!self || closing())
        return; // closed meanwhile: the unload has saved the whole round
    const vexlo::office::FileProblem unsaved = s.workbook.saveAndQuit();
    s.workbookHeld = false;
    button("Command2")->setEnabled(true);
    requestFocus(button("Command2"));
    s.drawnCount = 0;
    button("Command4")->setEnabled(false);
    reportSave(unsaved, Unsaved::Results);
}

void NameDrawWindow::automaticDraw() {
    const Guard self(this);
    DrawSession& s = liveSession();
    // Only a prepared round with somebody to draw blocks the desktop.
    // Like its button, offered only before the first draw of a round.
    if (s.autoAllowed != QLatin1String("Y") || s.counts.participantCount < 1 || m_roundEnded ||
        !s.people.anyAvailable(1, s.counts.totalCount))
        return;
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    timer(QStringLiteral("Timer4"))->setEnabled(true);
    setInputBlocked(true);
    s.autoAllowed = QStringLiteral("N");
    s.manualAllowed = QStringLiteral("Y");
    controlWidget(QStringLiteral("Frame4"))->show();
    QPushButton* manual = button("Command4");
    QPushButton* next = button("Command3");
    button("Command6")->setEnabled(false);
    manual->setEnabled(true);
    next->setEnabled(false);
    if (!stays(self, 2))
        return;

    const int participants = s.counts.participantCount;
    for (int i = 1; i <= participants && !m_roundEnded; ++i) {
        if (!stays(self, 1))
            return;
        requestFocus(manual);
        if (!stays(self, 1))
            return;
        // The focused "手工抽签" pressed: the manual draw itself.
        if (manual->isEnabled())
            manualDraw();
        if (!self || !stays(self, 3))
            return;
        manual->setEnabled(false);
        if (!stays(self, 1))
            return;
        if (i != participants && !m_roundEnded) {
            next->setEnabled(true);
            requestFocus(next);
            // The focused "抽签准备" pressed: the rolling restarts and Command4 takes the focus.
            prepare();
            if (!self || closing())
                return;
            next->setEnabled(false);
            ctx().platform.chores.sleep(kAutomaticPauseMs);
            if (!stays(self, 2))
                return;
            manual->setEnabled(true);
        }
    }
    manual->setEnabled(false);
    if (button("Command2")->isEnabled())
        requestFocus(button("Command2"));
    // The last draw ended the round and gave input back; should it not have, it comes
    // back now rather than after Timer4's 30 s.
    setInputBlocked(false);
}


} // namespace namelists
