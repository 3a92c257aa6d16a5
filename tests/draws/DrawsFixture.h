#pragma once

#include "AppHarness.h"

#include "core/FormTimer.h"
#include "draws/DrawLauncher.h"
#include "draws/OrderDraw.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

// The program started on the fake desktop with the main window ready (start-up done).
class DrawsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(h.start());
        main = &h.main();
        h.tick(*main, QStringLiteral("Timer6"));
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    AppState& state() { return h.ctx().state; }
    Forms& forms() { return h.ctx().forms; }
    draws::DrawLauncher* launcher() { return qobject_cast<draws::DrawLauncher*>(forms().loaded(FormId::Form2)); }
    draws::OrderDraw* orderDraw() { return qobject_cast<draws::OrderDraw*>(forms().loaded(FormId::Form7)); }

    static QPushButton* button(Form* form, const char* name) { return form->control<QPushButton>(QLatin1String(name)); }
    static QLabel* label(Form* form, const char* name) { return form->control<QLabel>(QLatin1String(name)); }
    static bool shown(Form* form, const char* name) { return form->controlWidget(QLatin1String(name))->isVisibleTo(form); }
    bool pollOn() { return main->timer(QStringLiteral("Timer2"))->enabled(); }

    // The user's LibreOffice has a presentation open (or only a spreadsheet).
    void presentationProgramRuns(bool runs) {
        auto& windows = h.fake.desktopWindows.windows;
        windows.clear();
        windows.push_back(officeWindow(11, "Untitled 1 - LibreOffice Calc", "libreoffice-calc"));
        if (runs)
            windows.push_back(officeWindow(12, "MYPPT.ppt - LibreOffice Impress", "libreoffice-impress"));
    }
    static platform::ClientWindow officeWindow(quint64 id, const char* title, const char* resClass, qint64 pid = 4321) {
        return {id, QString::fromUtf8(title), QStringLiteral("libreoffice"), QString::fromUtf8(resClass), pid, false,
                false};
    }

    // "抽签" on the main window; the launcher it opened (or null).
    draws::DrawLauncher* openLauncher() {
        button(main, "Command5")->click();
        return launcher();
    }
    // Menu, "随机抽取顺序号", the count, "确认": the draw window that opened.
    draws::OrderDraw* openOrderDraw(const QString& count) {
        draws::DrawLauncher* l = openLauncher();
        if (!l)
            return nullptr;
        button(l, "Command11")->click();
        l->control<QLineEdit>(QStringLiteral("Text2"))->setText(count);
        QCoreApplication::processEvents(); // the entry filter's keystrokes
        button(l, "Command5")->click();
        return orderDraw();
    }

    AppHarness h;
    MainWindow* main = nullptr;
};

// A stand-in for a window of another subsystem: records its load and close and carries
// a "Command1" button (the player's close button), from the main window's layout.
class ProbeWindow : public Form {
public:
    ProbeWindow(AppContext& ctx, FormId id, int height, std::vector<QString>& log)
        : Form(ctx, id, QStringLiteral(":/forms/Form1.json")), m_log(log) {
        setHeight(height);
        control<QPushButton>(QStringLiteral("Command1"))->setEnabled(true);
        QObject::connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, [this, &ctx] {
            m_log.push_back(QStringLiteral("close %1").arg(objectName()));
            ctx.forms.unload(formId());
        });
    }

protected:
    void onLoad() override { m_log.push_back(QStringLiteral("load %1 %2").arg(objectName(), ctx().state.pptFileName)); }

private:
    std::vector<QString>& m_log;
};

inline void registerProbe(Forms& forms, FormId id, std::vector<QString>& log, int height = 4000) {
    forms.setFactory(id, [id, &log, height](AppContext& ctx) { return std::make_unique<ProbeWindow>(ctx, id, height, log); });
}
