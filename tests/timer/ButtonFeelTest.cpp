// Buttons as on the desktop these windows come from: Enter and Space press the focused
// one, a disabled one is not there for the pointer, and one entry of the pointer is one
// try at the focus.
#include "ReadyProgramTest.h"

#include "timer/CountdownEngine.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ButtonFeelTest : public ReadyProgramTest {
protected:
    QPushButton* command(int n) { return w->control<QPushButton>(QStringLiteral("Command%1").arg(n)); }
    QLineEdit* text(int n) { return w->control<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    // The seconds field holds a value its check refuses, and has the focus.
    void refusedSecondsInFocus() {
        w->show();
        QApplication::setActiveWindow(w);
        text(4)->setFocus();
        ASSERT_TRUE(text(4)->hasFocus());
        text(4)->setText(QStringLiteral("75"));
        h.fake.messages.shown.clear();
    }
    void enterOver(QWidget* widget) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(widget->mapToGlobal(QPoint(2, 2))));
        QCoreApplication::sendEvent(widget, &enter);
    }
    void leave(QWidget* widget) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }
};

TEST_F(ButtonFeelTest, EnterAndSpacePressTheFocusedButton) {
    w->show();
    QApplication::setActiveWindow(w);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(key);
        command(1)->setFocus();
        ASSERT_TRUE(command(1)->hasFocus());
        QTest::keyClick(command(1), key);
        EXPECT_EQ(h.ctx().state.countdownState, AppState::Running) << "Start was pressed";
        w->engine().returnToIdle();
    }
}

TEST_F(ButtonFeelTest, ADisabledButtonTakesNoPointerAndLeavesTheFocusAlone) {
    refusedSecondsInFocus();
    ASSERT_FALSE(command(3)->isEnabled()) << "Stop, while idle";
    enterOver(command(3));
    pointer::moveOver(command(3));
    pointer::press(command(3));
    pointer::release(command(3));
    EXPECT_TRUE(h.fake.messages.shown.empty());
    EXPECT_TRUE(text(4)->hasFocus());
}

TEST_F(ButtonFeelTest, OnePointerEntryIsOneTryAtTheFocusAndAtMostOneMessage) {
    refusedSecondsInFocus();
    QPushButton* start = command(1);
    ASSERT_TRUE(start->isEnabled());
    enterOver(start);
    for (int i = 0; i < 3; ++i)
        pointer::moveOver(start);
    EXPECT_EQ(h.fake.messages.shown.size(), 1u);
    EXPECT_TRUE(text(4)->hasFocus()) << "the check kept it";

    leave(start);
    enterOver(start); // a new entry tries again
    pointer::moveOver(start);
    EXPECT_EQ(h.fake.messages.shown.size(), 2u);
}

} // namespace
