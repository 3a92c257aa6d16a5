#pragma once

// The whole program on the fake desktop, with a stand-in for the presentation player
// (Form8): its close action is what the tests watch.
#include "AppHarness.h"

#include "core/AppContext.h"
#include "core/Form.h"
#include "core/FormTimer.h"
#include "desktop/DesktopPoll.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QPushButton>
#include <gtest/gtest.h>

// Records how its close button was pressed, then closes itself as the player does.
class StandInPlayer : public Form {
public:
    struct Log {
        int loads = 0;
        int closes = 0;
        int mainHeightAtClose = 0;
        int topAtClose = 0;
        bool visibleAtClose = false;
    };
    StandInPlayer(AppContext& ctx, Log& log)
        : Form(ctx, FormId::Form8, QStringLiteral(":/poll-test/StandInWindow.json")), m_log(log) {
        connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, [this] {
            ++m_log.closes;
            m_log.mainHeightAtClose = this->ctx().forms.ref(FormId::Form1)->Height();
            m_log.topAtClose = Top();
            m_log.visibleAtClose = isVisible();
            this->ctx().forms.unload(FormId::Form8);
        });
    }

protected:
    void onLoad() override { ++m_log.loads; }

private:
    Log& m_log;
};

class PollFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Forms& forms = h.ctx().forms;
        ASSERT_TRUE(forms.hasFactory(FormId::Form3)) << "the floating toolbar is built in";
        ASSERT_TRUE(forms.hasFactory(FormId::Form2)) << "the draw launcher is built in";
        forms.setFactory(FormId::Form8,
                         [this](AppContext& ctx) { return std::make_unique<StandInPlayer>(ctx, player); });
        ASSERT_TRUE(h.start());
        w = &h.main();
        h.tick(*w, QStringLiteral("Timer6"));
        // Start from a quiet poll: nothing due, pointer far away.
        state().topmostRequest = QStringLiteral("N");
        state().topmostTicks = 0;
        h.fake.placement.topmostCalls.clear();
        h.fake.screen.pointerPx = {-1000, -1000};
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    AppState& state() { return h.ctx().state; }
    void poll(int times = 1) { h.tick(*w, QStringLiteral("Timer2"), times); }
    Form& toolbar() { return *h.ctx().forms.ref(FormId::Form3); }
    QPushButton* button(const char* name) { return w->control<QPushButton>(QLatin1String(name)); }
    DesktopPoll& pollObject() { return *w->findChild<DesktopPoll*>(); }
    // Pointer in screen pixels over the given twips position.
    void pointAt(int leftTwips, int topTwips) { h.fake.screen.pointerPx = {leftTwips / 15, topTwips / 15}; }
    int sw() const { return 1280 * 15; }
    int sh() const { return 800 * 15; }

    StandInPlayer::Log player;
    AppHarness h;
    MainWindow* w = nullptr;
};
