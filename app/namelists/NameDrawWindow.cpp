#include "NameDrawWindow.h"

#include "ListTexts.h"
#include "ShownText.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "office/OfficeSuite.h"
#include "office/SpreadsheetApp.h"
#include "platform/FileLookup.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPointer>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcNameDraw, "vexlo.namelists.draw")

namespace namelists {

namespace {

constexpr int kGlideStep = 100;
constexpr int kGlideMargin = 315;
constexpr int kInputBlockTicks = 300; // 30 s of Timer4
constexpr int kWaitTicksCap = 1200;

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
    // A desktop close (Alt+F4, the task list) takes the way out the user has at hand: the
    // confirmation while the list is open in the spreadsheet, else the return; none during
    // the automatic draw, which holds the input.
    setCloseAction([this] {
        QPushButton* way = controlWidget(QStringLiteral("Frame3"))->isVisibleTo(this) ? button("Command5")
                                                                                       : button("Command1");
        if (way->isEnabled() && !m_inputBlocked)
            way->click();
    });
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

void NameDrawWindow::reportSave(vexlo::office::FileProblem problem, Unsaved what) {
    if (problem == vexlo::office::FileProblem::None)
        return;
    const QString& file = m_spec.list->fileName;
    showMessage(what == Unsaved::Results ? listTexts::resultsNotSaved(file, problem)
                                         : listTexts::editsNotSaved(file, problem));
}

bool NameDrawWindow::stays(const QPointer<NameDrawWindow>& self, int times) {
    if (!self)
        return false;
    self->ctx().yield(times);
    return self && !self->closing();
}

bool NameDrawWindow::waitsForEvents(const QPointer<NameDrawWindow>& self) {
    if (!self)
        return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
    setLeft(centredLeft());
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
    setLeft(centredLeft());
    setTop(m_spec.fixedTop ? screenTop() + *m_spec.fixedTop : centredTop());
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
        const vexlo::office::FileProblem unsaved = ListWorkbook::saveAndQuit(*running);
        if (stays(self, 2))
            reportSave(unsaved, Unsaved::Edits);
    }
    if (self && !closing())
        warmUpOffice();
}

void NameDrawWindow::warmUpOffice() {
    if (ctx().office)
        ctx().office->warmUp(vexlo::office::OfficeKind::Spreadsheet);
}

void NameDrawWindow::onUnload() {
    m_closing = true;
    setInputBlocked(false);
    // Closed before "返　回" could finish, or some other way (the program ending): the
    // workbook is left as the return leaves it, so no half round stays in the file and no
    // program lingers. A finished round (being saved, or looked at) is kept whole.
    ListWorkbook& wb = liveSession().workbook;
    if (liveSession().workbookHeld && wb.programRunning() && (holdsThrowawayView() || !wb.worksheet())) {
        wb.quit();
    } else if (liveSession().workbookHeld && wb.programRunning()) {
        if (!m_roundEnded)
            wb.clearOnAbandon(liveSession().counts.totalCount);
        wb.saveAndQuit();
    } else if (wb.programRunning()) {
        wb.quit();
    }
    liveSession().workbookHeld = false;
    wb.release();
    if (ctx().office)
        ctx().office->dropWarmedUp();
}

// --- timers -----------------------------------------------------------------------------------------

void NameDrawWindow::glideTick() {
    const int stop = screenLeft() + screenWidth() - kGlideMargin - Width();
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
