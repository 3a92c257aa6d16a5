#pragma once

#include "AppHarness.h"

#include "core/FormTimer.h"
#include "namelists/ListDrawWindow.h"
#include "namelists/ListLayout.h"
#include "office/WorkbookContent.h"
#include "office/fake/FakeOfficeSuite.h"
#include "office/fake/FakeSpreadsheet.h"
#include "timer/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace nltest {

using vexlo::office::SheetContent;
using vexlo::office::WorkbookContent;

// A name list as the user keeps it: titles above, D10/D11 counts, person k in row 12 + k.
inline SheetContent nameSheet(int people, const QVariant& d10, const QVariant& d11,
                              const std::function<QString(int)>& name = {}) {
    SheetContent s{QStringLiteral("sheet1"), {}};
    s.set(1, 1, QStringLiteral("课堂随机抽签名单"));
    s.set(5, 5, QStringLiteral("状态："));
    s.set(5, 6, QStringLiteral("已抽签"));
    s.set(10, 3, QStringLiteral("名单总人数："));
    s.set(11, 3, QStringLiteral("参加抽签人数："));
    if (d10.isValid())
        s.set(10, 4, d10);
    if (d11.isValid())
        s.set(11, 4, d11);
    s.set(12, 1, QStringLiteral("序号"));
    s.set(12, 2, QStringLiteral("姓名"));
    s.set(12, 3, QStringLiteral("抽签号"));
    for (int k = 1; k <= people; ++k) {
        s.set(12 + k, 1, double(k));
        s.set(12 + k, 2, name ? name(k) : QStringLiteral("学生%1").arg(k));
    }
    return s;
}

// Fires a window timer on every pass of the event loop while it is enabled, as the
// real timer would tick while a handler yields; counts the ticks.
class TimerPump {
public:
    TimerPump(Form& form, const QString& timerName, std::function<void(int)> afterTick = {})
        : m_timer(form.timer(timerName)), m_after(std::move(afterTick)) {
        m_pump.setInterval(0);
        QObject::connect(&m_pump, &QTimer::timeout, [this] {
            if (!m_timer || !m_timer->enabled())
                return; // stopped, or gone with its window
            m_timer->tick();
            ++ticks;
            if (m_after)
                m_after(ticks);
        });
        m_pump.start();
    }
    int ticks = 0;

private:
    QPointer<FormTimer> m_timer;
    std::function<void(int)> m_after;
    QTimer m_pump;
};

class NameListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(h.start());
        h.ctx().office = &suite;
        h.ctx().random = RandomSource(20261208);
    }
    void TearDown() override {
        h.ctx().forms.unload(FormId::Form4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    vexlo::office::FakeOfficeWorld& world() { return suite.world(); }
    QString listPath() const { return QDir(h.folder()).filePath(QStringLiteral("name.xls")); }
    void writeList(const SheetContent& sheet) {
        world().writeWorkbookFile(listPath(), WorkbookContent{{sheet}}, namelists::kListPassword);
    }
    SheetContent fileSheet() {
        auto content = world().readWorkbookFile(listPath(), namelists::kListPassword);
        return content ? content->sheets.value(0) : SheetContent{};
    }
    QVariant fileCell(int row, int column) { return fileSheet().cells.value({row, column}); }
    int saves() {
        const auto* f = world().workbookFile(listPath());
        return f ? f->saves : -1;
    }

    // Opens the window as the draw launcher does: loaded, shown, centred.
    namelists::ListDrawWindow& open() {
        Form* f = h.ctx().forms.ref(FormId::Form4);
        h.ctx().yield(2);
        f->show();
        f->setTop((f->screenHeight() - f->Height()) / 2);
        f->setLeft((f->screenWidth() - f->Width()) / 2);
        return *static_cast<namelists::ListDrawWindow*>(f);
    }
    namelists::ListDrawWindow* loaded() {
        return static_cast<namelists::ListDrawWindow*>(h.ctx().forms.loaded(FormId::Form4));
    }

    static QPushButton* button(Form& w, const char* name) { return w.control<QPushButton>(QLatin1String(name)); }
    static QString text(Form& w, const char* name) {
        if (auto* edit = w.control<QLineEdit>(QLatin1String(name)))
            return edit->text();
        return w.control<QLabel>(QLatin1String(name))->text();
    }
    static bool shown(Form& w, const char* name) { return w.controlWidget(QLatin1String(name))->isVisibleTo(&w); }

    // The open workbook of the window's spreadsheet program, as the user would see it.
    static std::shared_ptr<vexlo::office::FakeDocument> openDocument(namelists::NameDrawWindow& w) {
        auto* app = dynamic_cast<vexlo::office::FakeSpreadsheetApp*>(w.session().workbook.app());
        return app ? app->activeDocument() : nullptr;
    }

    // Edit, confirm and prepare: the window is rolling.
    void readyToDraw(namelists::ListDrawWindow& w) {
        button(w, "Command2")->click();
        button(w, "Command5")->click();
        button(w, "Command3")->click();
    }
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : h.fake.messages.shown)
            texts << m.text;
        return texts;
    }

    vexlo::office::FakeOfficeSuite suite;
    AppHarness h;
};

inline QString body(const QString& message) { return QStringLiteral("\r") + message + QStringLiteral("\r\n"); }

} // namespace nltest
