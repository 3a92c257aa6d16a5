#include "core/AppContext.h"
#include "core/Form.h"
#include "core/FormTimer.h"
#include "platform/fake/FakePlatform.h"

#include <QCoreApplication>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

// A window that reports its load and close handling.
class ProbeForm : public Form {
public:
    ProbeForm(AppContext& ctx, FormId id, std::vector<QString>& log)
        : Form(ctx, id, QStringLiteral(":/forms/Form1.json")), m_log(log) {}

protected:
    void onLoad() override { m_log.push_back(QStringLiteral("load %1").arg(objectName())); }
    void onUnload() override { m_log.push_back(QStringLiteral("unload %1").arg(objectName())); }

private:
    std::vector<QString>& m_log;
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 1; i <= 9; ++i) {
            const auto id = static_cast<FormId>(i);
            ctx.forms.setFactory(id, [this, id](AppContext& c) { return std::make_unique<ProbeForm>(c, id, log); });
        }
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    platform::FakePlatform fake;
    AppContext ctx{fake.platform, QStringLiteral("/nonexistent")};
    std::vector<QString> log;
};

TEST_F(FormsTest, FirstReferenceLoadsHiddenAndLaterOnesReuse) {
    Form* first = ctx.forms.ref(FormId::Form3);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(ctx.forms.ref(FormId::Form3), first);
    EXPECT_EQ(log, (std::vector<QString>{"load Form3"}));
}

TEST_F(FormsTest, UnloadRunsCloseHandlingAndNextReferenceLoadsAfresh) {
    Form* first = ctx.forms.ref(FormId::Form2);
    first->timer(QStringLiteral("Timer2"))->setEnabled(true);
    first->control<QLabel>(QStringLiteral("Label3"))->setText(QStringLiteral("changed"));
    ctx.forms.unload(FormId::Form2);
    EXPECT_FALSE(ctx.forms.isLoaded(FormId::Form2));
    EXPECT_FALSE(first->timer(QStringLiteral("Timer2"))->enabled());
    Form* second = ctx.forms.ref(FormId::Form2);
    EXPECT_NE(second->control<QLabel>(QStringLiteral("Label3"))->text(), QStringLiteral("changed"));
    EXPECT_EQ(log, (std::vector<QString>{"load Form2", "unload Form2", "load Form2"}));
}

TEST_F(FormsTest, UnloadingAWindowThatIsNotOpenDoesNothing) {
    ctx.forms.unload(FormId::Form5);
    EXPECT_TRUE(log.empty());
}

TEST_F(FormsTest, UnloadAllClosesNineDownToOneThenEnds) {
    for (FormId id : {FormId::Form1, FormId::Form4, FormId::Form9, FormId::Form6})
        ctx.forms.ref(id);
    log.clear();
    bool ended = false;
    ctx.forms.setEndProcess([&] {
        ended = true;
        log.push_back(QStringLiteral("end"));
    });
    ctx.forms.unloadAllAndEnd();
    EXPECT_TRUE(ended);
    EXPECT_TRUE(ctx.forms.ended());
    EXPECT_EQ(log, (std::vector<QString>{"unload Form9", "unload Form6", "unload Form4", "unload Form1", "end"}));
}

TEST_F(FormsTest, AWindowWithoutFactoryIsNotBuiltIn) {
    Forms bare(ctx);
    EXPECT_EQ(bare.ref(FormId::Form7), nullptr);
    EXPECT_FALSE(bare.isLoaded(FormId::Form7));
}

TEST_F(FormsTest, GeometryIsKeptInTwipsAndShownInPixels) {
    Form* form = ctx.forms.ref(FormId::Form1);
    form->setLeft(1500);
    form->setTop(-45);
    form->setWidth(5700);
    form->setHeight(2850);
    EXPECT_EQ(form->Left(), 1500);
    EXPECT_EQ(form->Top(), -45);
    // What lies above the screen is cut off: managers would not place it there.
    EXPECT_EQ(form->geometry(), QRect(100, 0, 380, 187));
    fake.screen.sizePx = QSize(1024, 768);
    EXPECT_EQ(form->screenWidth(), 15360);
    EXPECT_EQ(form->screenHeight(), 11520);
    form->centreHorizontally();
    EXPECT_EQ(form->Left(), (15360 - 5700) / 2);
    EXPECT_EQ(form->Top(), 2000);
}

} // namespace
