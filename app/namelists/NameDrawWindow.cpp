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

Q_LOGGING_CATEGORY(lcNameDraw, "vexlo.namelists.draw")

namespace namelists {

namespace {

constexpr int kScrollUpScreens = 25;
constexpr int kGlideStep = 100;
constexpr int kGlideMargin = 315;
constexpr int kInputBlockTicks = 300; // 30 s of Timer4
constexpr int kWaitTicksCap = 1200;
constexpr int kAutomaticPauseMs = 25;

// The workbook lies in the program's folder; a program started from a folder of data
// files finds it there. The name is matched as a case-insensitive file system would.
QString listPath(const AppContext& ctx, const QString& fileName) {
    for (const QString& folder : {ctx.appDir, QDir::currentPath()}) {
        const QString found = platform::findFileIgnoringCase(folder, fileName);
        if (!found.isEmpty())
            return QDir(folder).filePath(found);
    }
    return QDir(ctx.appDir).filePath(fileName);
}

using Guard = QPointer<NameDrawWindow>;

} // namespace

DrawWindowSpec commonDrawWindowSpec(FormId id, const ListLayout& list, int fullWidth) {
    DrawWindowSpec spec;
    spec.id = id;
    spec.layoutResource = QStringLiteral(":/forms/Form%1.json").arg(static_cast<int>(id));
    spec.list = &list;
    spec.fullWidth = fullWidth;
    spec.fullHeight = 7590;
    spec.compactWidth = 5595;
    spec.compactHeight = 4095;
    for (int n : {1, 2, 3, 4, 5, 6})
        spec.hoverButtons << QStringLiteral("Command%1").arg(n);
    for (int n : {1, 2, 3, 4, 5})
        spec.dragControls << QStringLiteral("Frame%1").arg(n);
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
        spec.dragControls << QStringLiteral("Label%1").arg(n);
    for (int n : {1, 2, 3})
        spec.dragControls << QStringLiteral("Text%1").arg(n);
    return spec;
}

int endOfRoundPause(int totalCount) {
    if (totalCount < 100)
        return 0;
    if (totalCount >= 500)
        return 100;
    return (totalCount / 100) * 20;
}

NameDrawWindow::NameDrawWindow(AppContext& ctx, DrawWindowSpec spec)
    : Form(ctx, spec.id, spec.layoutResource), m_spec(std::move(spec)),
      m_session(std::make_unique<DrawSession>(*m_spec.list, ctx.office, listPath(ctx, m_spec.list->fileName))) {
    // The design's serif where it exists, its metric twin or another serif elsewhere. The
    // name comes first in a serif that has Chinese of its own: borrowed glyphs would sit
    // off the middle of the field.
    const QStringList serif{QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                            QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")};
    for (const char* name : {"Text1", "Text2", "Text3"}) {
        auto* field = control<QLineEdit>(QLatin1String(name));
        QFont font = field->font();
        font.setFamilies(qstrcmp(name, "Text2") == 0 ? QStringList{QStringLiteral("Noto Serif CJK SC")} + serif : serif);
        field->setFont(font);
        // The fields show the draw; typing into them would only mislead the room.
        field->setReadOnly(true);
    }

    connect(button("Command1"), &QPushButton::clicked, this, &NameDrawWindow::returnToMain);
    connect(button("Command2"), &QPushButton::clicked, this, &NameDrawWindow::editOrViewList);
    connect(button("Command3"), &QPushButton::clicked, this, &NameDrawWindow::prepare);
    connect(button("Command4"), &QPushButton::clicked, this, &NameDrawWindow::manualDraw);
    connect(button("Command5"), &QPushButton::clicked, this, &NameDrawWindow::confirmList);
    connect(button("Command6"), &QPushButton::clicked, this, &NameDrawWindow::automaticDraw);
    // Enter presses the focused button, as the design's buttons answer it.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(true);

    timer(QStringLiteral("Timer1"))->setHandler([this] { rollTick(); });
    timer(QStringLiteral("Timer2"))->setHandler([this] { glideTick(); });
    timer(QStringLiteral("Timer3"))->setHandler([this] { keepOnScreenTick(); });
    timer(QStringLiteral("Timer4"))->setHandler([this] { inputBlockTick(); });
    timer(QStringLiteral("Timer5"))->setHandler([this] { waitTick(); });

    focusOnHover(m_spec.hoverButtons);
    enableDragging(m_spec.dragControls);
}

NameDrawWindow::~NameDrawWindow() {
    // A window destroyed without being unloaded (program teardown) still gives input back.
    if (m_inputBlocked)
        ctx().platform.input.setBlocked(false);
}

QPushButton* NameDrawWindow::button(const char* name) const { return control<QPushButton>(QLatin1String(name)); }

void NameDrawWindow::showMessage(const QString& message) {
    ctx().platform.messages.information(listTexts::messageTitle, listTexts::messageBody(message));
}

bool NameDrawWindow::stays(const QPointer<NameDrawWindow>& self, int times) {
    if (!self)
        return false;
    self->ctx().yield(times);
    return self && !self->closing();
}

void NameDrawWindow::setInputBlocked(bool blocked) {
    if (!blocked && !m_inputBlocked)
        return;
    if (!ctx().platform.input.setBlocked(blocked))
        qCDebug(lcNameDraw) << "input block" << blocked << "not fully granted";
    m_inputBlocked = blocked;
}

// --- placement -----------------------------------------------------------------------

void NameDrawWindow::setSize(int width, int height) {
    if (width == Width() && height == Height())
        return;
    setWidth(width);
    setHeight(height);
    onResized();
}

void NameDrawWindow::onResized() {
    setLeft((screenWidth() - Width()) / 2);
    if (button("Command3")->isEnabled())
        requestFocus(button("Command3"));
    if (button("Command2")->isEnabled())
        requestFocus(button("Command2"));
}

void NameDrawWindow::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // The first showing counts as the window's first resize.
    if (!m_shownOnce) {
        m_shownOnce = true;
        onResized();
    }
}

void NameDrawWindow::placeOnScreen() {
    setLeft((screenWidth() - Width()) / 2);
    setTop(m_spec.fixedTop ? *m_spec.fixedTop : (screenHeight() - Height()) / 2);
}

void NameDrawWindow::showConfirmationPanel() {
    setSize(m_spec.compactWidth, m_spec.compactHeight);
    controlWidget(QStringLiteral("Frame1"))->hide();
    controlWidget(QStringLiteral("Frame3"))->show();
    requestFocus(button("Command5"));
    placeOnScreen();
}

// --- load and unload -------------------------------------------------------------------

void NameDrawWindow::onLoad() {
    AppContext& ctx = this->ctx();
    DrawSession& s = liveSession();
    s.inputBlockTicks = 1;
    s.waitTicks = 1;
    s.resultViewCount = 1;
    s.prepCount = 1;
    s.drawsSinceOpen = 0;
    const Guard self(this);
    if (!stays(self, 1))
        return;
    s.workbookHeld = false;
    s.prepared = false;
    s.listShownOnce = false;
    timer(QStringLiteral("Timer3"))->setEnabled(true);
    s.manualAllowed = QStringLiteral("Y");
    s.autoAllowed = QStringLiteral("Y");
    makeTopmost();
    // A spreadsheet program left running (by another window or an earlier round) keeps
    // nothing unsaved and gives the workbook up.
    if (auto running = ListWorkbook::attachRunning(ctx.office)) {
        ListWorkbook::saveAndQuit(*running);
        stays(self, 2);
    }
}

void NameDrawWindow::onUnload() {
    m_closing = true;
    setInputBlocked(false);
    // Closed before "返　回" could finish, or some other way (the program ending): the
    // workbook is left as the return leaves it, so no half round stays in the file and no
    // program lingers.
    ListWorkbook& wb = liveSession().workbook;
    if (liveSession().workbookHeld && wb.programRunning() && holdsThrowawayView()) {
        wb.quit();
    } else if (liveSession().workbookHeld && wb.programRunning()) {
        if (!m_inRoundEnd)
            wb.clearOnAbandon(liveSession().counts.totalCount);
        wb.saveAndQuit();
    } else if (wb.programRunning()) {
        wb.quit();
    }
    liveSession().workbookHeld = false;
    wb.release();
}

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
    setLeft(0);
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
    // The full window is centred below; a glide still under way would carry it off.
    timer(QStringLiteral("Timer2"))->setEnabled(false);
    if (auto running = ListWorkbook::attachRunning(ctx().office)) {
        // Closed meanwhile: the unload has saved and ended the program.
        if (!stays(self, 2))
            return;
        running->ScrollActiveWindowUp(kScrollUpScreens);
        if (!stays(self, 4))
            return;
        if (savesOnConfirm())
            running->SaveActiveWorkbook();
        running->Quit();
    }
    s.workbookHeld = false;
    controlWidget(QStringLiteral("Frame3"))->hide();
    controlWidget(QStringLiteral("Frame1"))->show();
    setSize(m_spec.fullWidth, m_spec.fullHeight);
    placeOnScreen();
    if (button("Command3")->isEnabled())
        requestFocus(button("Command3"));
}

// --- preparation ---------------------------------------------------------------------------

QString NameDrawWindow::failureMessage(ListWorkbook::OpenResult opened) const {
    const ListLayout& list = *m_spec.list;
    switch (opened) {
    case ListWorkbook::OpenResult::ProgramMissing:
        return listTexts::programMissing;
    case ListWorkbook::OpenResult::OpenFailed:
        return listTexts::openFailed(list.fileName);
    case ListWorkbook::OpenResult::SheetMissing:
        return listTexts::sheetMissing(list.fileName, kListSheet);
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

void NameDrawWindow::refusePreparation(ListWorkbook::OpenResult opened) {
    DrawSession& s = liveSession();
    // Nothing is drawn from this list, so nothing of it is written: the program goes
    // without saving and the file stays as the user left it.
    s.workbook.quit();
    s.workbookHeld = false;
    s.prepared = false;
    s.prepCount = 1;
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
            refusePreparation(opened);
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
    m_inRoundEnd = true;
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
            // Ends early when the window is closed under it.
            while (s.waitTicks < threshold && wait->enabled()) {
                if (!stays(self, 2))
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
    s.workbook.saveAndQuit();
    s.workbookHeld = false;
    m_inRoundEnd = false;
    button("Command2")->setEnabled(true);
    requestFocus(button("Command2"));
    s.drawnCount = 0;
    button("Command4")->setEnabled(false);
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
    m_returning = true;
    hide();
    s.resultViewCount = 1;
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    button("Command4")->setEnabled(false);
    button("Command3")->setEnabled(true);
    if (!pause(1))
        return;
    if (s.workbookHeld && holdsThrowawayView()) {
        wb.quit();
        wb.release();
        s.workbookHeld = false;
    } else if (s.workbookHeld) {
        wb.clearOnAbandon(s.counts.totalCount);
        if (!pause(2))
            return;
        if (auto* app = wb.app())
            app->ScrollActiveWindowUp(kScrollUpScreens);
        if (!pause(3))
            return;
        if (auto* app = wb.app()) {
            app->SaveActiveWorkbook();
            app->Quit();
        }
        wb.release();
        s.workbookHeld = false;
    }
    if (auto running = ListWorkbook::attachRunning(ctx.office)) {
        ListWorkbook::saveAndQuit(*running);
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
    for (const char* name : {"Timer1", "Timer2", "Timer3"})
        timer(QLatin1String(name))->setEnabled(false);
    if (!pause(1))
        return;
    // The window object stays until the event loop deletes it; nothing below touches it.
    ctx.forms.unload(id);
    ctx.yield(4);
}

// --- timers -----------------------------------------------------------------------------------------

void NameDrawWindow::glideTick() {
    const int stop = screenWidth() - kGlideMargin - Width();
    setLeft(Left() + kGlideStep);
    if (Left() >= stop) {
        setLeft(stop);
        timer(QStringLiteral("Timer2"))->setEnabled(false);
    }
}

void NameDrawWindow::keepOnScreenTick() { keepInsideScreen(); }

void NameDrawWindow::inputBlockTick() {
    DrawSession& s = liveSession();
    ++s.inputBlockTicks;
    if (s.inputBlockTicks > kInputBlockTicks) {
        setInputBlocked(false);
        s.inputBlockTicks = 1;
        timer(QStringLiteral("Timer4"))->setEnabled(false);
    }
}

void NameDrawWindow::waitTick() {
    DrawSession& s = liveSession();
    ++s.waitTicks;
    if (s.waitTicks > kWaitTicksCap)
        s.waitTicks = kWaitTicksCap;
}

} // namespace namelists
