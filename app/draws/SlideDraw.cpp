#include "SlideDraw.h"

#include "PresentationPlayer.h"
#include "SlideDrawTexts.h"

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "core/RandomSource.h"
#include "office/OfficeSuite.h"
#include "office/Presentation.h"
#include "office/PresentationApp.h"
#include "office/SlideShowView.h"
#include "platform/Platform.h"

#include <QLineEdit>
#include <QLoggingCategory>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

Q_LOGGING_CATEGORY(lcSlideDraw, "vexlo.draws.slides")

namespace draws {

SlideDraw::SlideDraw(AppContext& ctx) : Form(ctx, Id, QStringLiteral(":/forms/Form5.json")) {
    auto button = [this](const char* name) { return control<QPushButton>(QLatin1String(name)); };
    connect(button("Command3"), &QPushButton::clicked, this, &SlideDraw::prepare);
    connect(button("Command4"), &QPushButton::clicked, this, &SlideDraw::draw);
    connect(button("Command1"), &QPushButton::clicked, this, &SlideDraw::finish);
    // As its end button; a disabled one does nothing.
    setCloseAction([button] { button("Command1")->click(); });
    timer(QStringLiteral("Timer1"))->setHandler([this] { flicker(); });
    // The box reports; it is not typed into.
    control<QLineEdit>(QStringLiteral("Text1"))->setReadOnly(true);
    focusOnHover({QStringLiteral("Command1"), QStringLiteral("Command3"), QStringLiteral("Command4")});
    enableDragging({QStringLiteral("Text1")});
}

SlideDraw::~SlideDraw() = default;

void SlideDraw::onLoad() {
    AppContext& ctx = this->ctx();
    ctx.state.topmostRequest = QStringLiteral("Y");
    ctx.platform.taskbar.hide();
    m_panelHidden = true;

    const QString fileName = slideDrawTexts::presentationFile;
    m_app = ctx.office ? ctx.office->createPresentationApp() : nullptr;
    if (m_app) {
        m_app->SetVisible(true);
        m_presentation = m_app->Open(presentationPath(ctx, fileName));
    }
    if (m_presentation && !m_presentation->RunSlideShow())
        qCDebug(lcSlideDraw) << "the slide show did not start";
    m_slideTotal = m_presentation ? m_presentation->SlideCount() : 0;
    m_pool = NumberPool(std::min(m_slideTotal, NumberPool::capacity));

    hide();
    if (m_presentation)
        m_view = m_presentation->SlideShowWindowView();
    makeTopmost();
    setLeft(0);
    setTop(0);
    setLeft(centredLeft());

    if (!m_app)
        giveUp(slideDrawTexts::programMissing);
    else if (!m_presentation)
        giveUp(slideDrawTexts::cannotOpen(fileName));
    else if (m_slideTotal < 1)
        giveUp(slideDrawTexts::noSlides(fileName));
    else
        m_ready = true;
}

void SlideDraw::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    requestFocus(c("Command3"));
}

void SlideDraw::prepare() {
    if (!m_ready || m_closing)
        return;
    timer(QStringLiteral("Timer1"))->setEnabled(true);
    c("Command3")->setEnabled(false);
    c("Command4")->setEnabled(true);
    requestFocus(c("Command4"));
    ctx().platform.taskbar.hide();
    m_panelHidden = true;
    control<QLineEdit>(QStringLiteral("Text1"))->setText(slideDrawTexts::drawing);
}

void SlideDraw::flicker() {
    ++m_flickerTicks;
    RandomSource& random = ctx().random;
    random.stir();
    m_rollingSlide = random.pick(m_pool.count());
    // Drawn slides may show too; a failed jump leaves the show where it was.
    if (m_view)
        m_view->GotoSlide(m_rollingSlide);
}

void SlideDraw::draw() {
    if (!m_ready || m_closing)
        return;
    AppContext& ctx = this->ctx();
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    c("Command3")->setEnabled(true);
    requestFocus(c("Command3"));

    m_pickedSlide = m_pool.drawUndrawn(ctx.random);
    QPointer<SlideDraw> self(this);
    if (m_view)
        m_view->GotoSlide(m_pickedSlide);
    ctx.yield(2);
    // "退出" may have ended the draw while events ran.
    if (!self || m_closing)
        return;
    if (m_view)
        m_view->GotoSlide(m_pickedSlide);
    ctx.yield(3);
    if (!self || m_closing)
        return;
    const int shown = m_view ? m_view->CurrentShowPosition() : 0;
    qCDebug(lcSlideDraw) << "drew slide" << m_pickedSlide << "and the show reports slide" << shown;
    control<QLineEdit>(QStringLiteral("Text1"))->setText(slideDrawTexts::position(shown, m_slideTotal));

    m_pool.take(m_pickedSlide);
    if (m_pool.exhausted()) {
        ctx.platform.messages.information(slideDrawTexts::messageTitle, slideDrawTexts::roundOver);
        m_pool.refill();
    }
    c("Command4")->setEnabled(false);
}

void SlideDraw::releaseOffice() {
    m_view.reset();
    m_presentation.reset();
    m_app.reset();
}

void SlideDraw::finish() {
    if (m_closing)
        return;
    m_closing = true;
    AppContext& ctx = this->ctx();
    // No more jumps into a show that is ending, nor a second press while it ends.
    timer(QStringLiteral("Timer1"))->setEnabled(false);
    for (const char* name : {"Command1", "Command3", "Command4"})
        c(name)->setEnabled(false);
    Form* main = ctx.forms.loaded(FormId::Form1);

    if (m_app && !m_app->Quit())
        qCDebug(lcSlideDraw) << "the presentation program had already gone";
    if (main)
        main->controlWidget(QStringLiteral("Frame4"))->hide();
    ctx.yield(3);
    releaseOffice();
    ctx.yield(2);
    ctx.platform.taskbar.show();
    m_panelHidden = false;
    ctx.yield(2);
    if (main)
        main->timer(QStringLiteral("Timer2"))->setEnabled(true);
    ctx.yield(2);
    hide();
    ctx.yield(2);
    ctx.forms.unload(Id);
    ctx.yield(2);
    if (main) {
        main->setHeight(heightForLayoutMode(QStringLiteral("S")));
        main->show();
    }
}

void SlideDraw::giveUp(const QString& message) {
    qCDebug(lcSlideDraw) << "nothing to draw from:" << message.trimmed();
    m_ready = false;
    // The desktop is given back before the user is asked to read anything.
    if (m_app)
        m_app->Quit();
    releaseOffice();
    ctx().platform.taskbar.show();
    m_panelHidden = false;
    ctx().platform.messages.information(slideDrawTexts::messageTitle, message);
    finish();
}

void SlideDraw::onUnload() {
    // Unloaded by the program's end rather than by "退出": the show and the panel go back.
    if (m_app) {
        m_app->Quit();
        releaseOffice();
    }
    if (m_panelHidden) {
        ctx().platform.taskbar.show();
        m_panelHidden = false;
    }
}

} // namespace draws
