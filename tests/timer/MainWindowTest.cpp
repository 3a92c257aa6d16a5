#include "ReadyProgramTest.h"

#include "core/FormTimer.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ReadyProgramTest {
protected:
    QWidget* c(const char* name) { return w->controlWidget(QLatin1String(name)); }

};

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThem) {
    struct Place {
        const char* name;
        QRect px; // twips / 15
    } places[] = {
        {"Text1", {136, 18, 40, 29}},    {"Command1", {20, 121, 39, 21}}, {"Command6", {264, 121, 39, 21}},
        {"Frame2", {8, 2, 364, 153}},    {"Frame4", {8, 162, 364, 34}},   {"Text4", {196, 16, 40, 29}},
        {"Option3", {277, 92, 77, 17}},  {"Label3", {54, 4, 177, 51}},    {"Command7", {309, 119, 39, 21}},
    };
    for (const Place& p : places)
        EXPECT_EQ(c(p.name)->geometry(), p.px) << p.name;
    EXPECT_EQ(static_cast<QPushButton*>(c("Command5"))->toolTip(), QStringLiteral("随机抽签，决定PPT演讲顺序"));
    EXPECT_EQ(static_cast<QLabel*>(c("Label9"))->text(), QStringLiteral("操作提示：双击此处可关闭当前打开的PPT文件"));
    EXPECT_TRUE(static_cast<QLabel*>(c("Label4"))->text().startsWith(QStringLiteral("Tarnwick Vexlo Ver 8.06   ")));
}

TEST_F(MainWindowTest, HoverShowsTheHintStripAndReappliesTheModeHeight) {
    EXPECT_FALSE(c("Frame4")->isVisibleTo(w));
    w->setHeight(3465);
    pointer::moveOver(c("Label1"));
    EXPECT_TRUE(c("Frame4")->isVisibleTo(w));
    EXPECT_EQ(w->Height(), 2850);

    h.ctx().state.layoutMode = QStringLiteral("H");
    pointer::moveOver(c("Label7")); // shows the strip but keeps the height
    EXPECT_EQ(w->Height(), 2850);
    pointer::moveOver(c("Command1")); // enabled: a disabled button takes no pointer events
    EXPECT_EQ(w->Height(), 3465);
    EXPECT_TRUE(c("Command1")->hasFocus() || !w->isActiveWindow());
}

TEST_F(MainWindowTest, NeitherLoadingLabelNorHelpButtonShowTheHint) {
    pointer::moveOver(c("Label10"));
    pointer::moveOver(c("Command6"));
    pointer::moveOver(c("Image2"));
    EXPECT_FALSE(c("Frame4")->isVisibleTo(w));
}

TEST_F(MainWindowTest, DraggingByTheDigitsMovesTheWindow) {
    w->setLeft(3000);
    w->setTop(2000);
    QWidget* digits = c("Label3");
    pointer::press(digits, {10, 10});
    pointer::dragTo(digits, {30, 15});
    EXPECT_EQ(w->Left(), 3000 + 20 * 15);
    EXPECT_EQ(w->Top(), 2000 + 5 * 15);
    // Each move shifts by the pointer's offset from the anchor within the moved label.
    pointer::dragTo(digits, {5, 10});
    EXPECT_EQ(w->Left(), 3000 + 20 * 15 + (5 - 10) * 15);
    pointer::release(digits, {5, 10});
    pointer::dragTo(digits, {50, 50}); // button up: no drag
    EXPECT_EQ(w->Left(), 3000 + 15 * 15);
}

TEST_F(MainWindowTest, DraggingByAButtonDoesNothing) {
    w->setLeft(3000);
    pointer::press(c("Command6"), {2, 2});
    pointer::dragTo(c("Command6"), {30, 2});
    EXPECT_EQ(w->Left(), 3000);
}

TEST_F(MainWindowTest, DoubleClickOnTheDigitsOpensTheEnlargedWindow) {
    h.ctx().state.enlargedViewSignal = 99;
    pointer::doubleClick(c("Label3"));
    Form* enlarged = h.ctx().forms.loaded(FormId::Form6);
    ASSERT_NE(enlarged, nullptr);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(enlarged->isVisible());
    EXPECT_TRUE(enlarged->timer(QStringLiteral("Timer1"))->enabled());
    EXPECT_NE(h.ctx().state.enlargedViewSignal, 99);
    EXPECT_NE(h.ctx().state.enlargedViewSignal, 88);
}

} // namespace
