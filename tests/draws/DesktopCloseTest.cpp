#include "DrawsFixture.h"

#include "desktop/FloatingToolbar.h"

#include <functional>

namespace {

using Answer = platform::MessageBoxes::Answer;

// A close request from the desktop (Alt+F4, the task list's "Close") never takes a window
// away behind the program's back: each window does what its own way out does, or nothing.
class DesktopCloseTest : public DrawsFixture {
protected:
    void SetUp() override {
        DrawsFixture::SetUp();
        presentationProgramRuns(false);
        forms().setEndProcess([this] { ended = true; });
    }
    bool ended = false;
};

TEST_F(DesktopCloseTest, TheMainWindowAsksTheExitQuestion) {
    for (Answer answer : {Answer::No, Answer::Yes}) {
        h.fake.messages.shown.clear();
        h.fake.messages.answers = {answer};
        main->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(h.fake.messages.shown.size(), 1u);
        EXPECT_EQ(h.fake.messages.shown[0].text, QStringLiteral("      确实要退出Kelvora程序吗? "));
        if (answer == Answer::No) {
            EXPECT_FALSE(ended);
            EXPECT_TRUE(main->isVisible()) << "No keeps the program running";
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_FALSE(forms().isLoaded(FormId::Form1));
}

TEST_F(DesktopCloseTest, OtherWindowsTakeTheirOwnWayOutOrStay) {
    std::vector<QString> log;
    const struct Case {
        const char* name;
        std::function<Form*()> open;
        std::function<void(Form*)> check;
    } cases[] = {
        {"launcher menu: back", [this] { return openLauncher(); },
         [this](Form* l) {
             EXPECT_FALSE(l->isVisible());
             EXPECT_TRUE(main->isVisible());
             EXPECT_TRUE(pollOn());
         }},
        {"launcher count box: cancel",
         [this] {
             Form* l = openLauncher();
             button(l, "Command11")->click();
             return l;
         },
         [this](Form*) {
             EXPECT_FALSE(forms().isLoaded(FormId::Form2));
             EXPECT_TRUE(main->isVisible());
         }},
        {"order draw: its end, which asks", [this] { return openOrderDraw(QStringLiteral("9")); },
         [this](Form* draw) {
             EXPECT_FALSE(draw->isVisible());
             ASSERT_NE(launcher(), nullptr);
             EXPECT_TRUE(shown(launcher(), "Command9")) << "the launcher's confirmation";
             launcher()->close(); // the confirmation's way out: back to the draw
             EXPECT_TRUE(draw->isVisible());
             EXPECT_FALSE(launcher()->isVisible());
         }},
        {"enlarged window: as its double-click",
         [this] {
             Form* big = forms().ref(FormId::Form6);
             big->show();
             return big;
         },
         [this](Form*) {
             EXPECT_FALSE(forms().isLoaded(FormId::Form6));
             EXPECT_EQ(state().enlargedViewSignal, 99);
             EXPECT_TRUE(main->isVisible());
         }},
        {"toolbar strip: back to the main window",
         [this] {
             auto* bar = qobject_cast<FloatingToolbar*>(forms().ref(FormId::Form3));
             main->hide();
             bar->showInPlaceOf(*main);
             return bar;
         },
         [this](Form* bar) {
             EXPECT_FALSE(bar->isVisible());
             EXPECT_TRUE(main->isVisible());
         }},
        {"player (off screen): ignored",
         [this, &log] {
             registerProbe(forms(), FormId::Form8, log);
             Form* player = forms().ref(FormId::Form8);
             player->show();
             return player;
         },
         [this, &log](Form* player) {
             EXPECT_TRUE(player->isVisible());
             EXPECT_TRUE(forms().isLoaded(FormId::Form8));
             EXPECT_EQ(log.size(), 1u) << "loaded, never closed";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (FormId id : {FormId::Form2, FormId::Form3, FormId::Form6, FormId::Form7, FormId::Form8})
            forms().unload(id);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main->show();
        main->timer(QStringLiteral("Timer2"))->setEnabled(true);
        h.fake.messages.shown.clear();
        Form* window = c.open();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
        window->close();
        c.check(window);
        EXPECT_TRUE(h.fake.messages.shown.empty()) << "only the main window asks";
        EXPECT_FALSE(ended);
    }
}

} // namespace
