// Figures for the name-list draw against real LibreOffice on a display:
//  * the first preparation of a 600-person list, from the click on "抽签准备" until the
//    names roll, once just after the window opened and once after the list was edited and
//    confirmed (which ended the program), each after the teacher has looked at the window
//    for a while (second argument, ms, default 2000) as the window starts its program ahead;
//  * the cost of one 15 ms rolling tick with 600 names, painting included.
// Run through run-namelists-bench.sh, which starts a private Xvfb.

#include "core/AppContext.h"
#include "core/FormTimer.h"
#include "lifecycle/Application.h"
#include "namelists/ListDrawWindow.h"
#include "namelists/ListLayout.h"
#include "office/SpreadsheetApp.h"
#include "office/WorkbookContent.h"
#include "office/libreoffice/LibreOfficeSuite.h"
#include "platform/fake/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

using namespace vexlo::office;

namespace {

constexpr int kPeople = 600;

struct Stats {
    double median, min, max;
};
Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

QPushButton* button(Form& w, const char* name) { return w.control<QPushButton>(QLatin1String(name)); }

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FormTimer::setManualMode(true); // ticks fired by hand below
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    // How long the teacher looks at the window before the click.
    const int lookingMs = argc > 2 ? std::max(0, atoi(argv[2])) : 2000;
    auto look = [lookingMs] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < lookingMs)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    };

    QTemporaryDir dir;
    LibreOfficeSuite lo;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("name.xls"));
    SheetContent s{QStringLiteral("sheet1"), {}};
    s.set(1, 1, QStringLiteral("课堂随机抽签名单"));
    s.set(10, 4, double(kPeople));
    s.set(11, 4, double(kPeople));
    for (int k = 1; k <= kPeople; ++k) {
        s.set(12 + k, 1, double(k));
        s.set(12 + k, 2, QStringLiteral("学生%1号").arg(k));
        s.set(12 + k, 3, double(k));
    }
    if (!lo.writeWorkbook(path, {{s}}, namelists::kListPassword)) {
        std::fprintf(stderr, "cannot write the list\n");
        return 1;
    }

    platform::FakePlatform desktop;
    Application program(desktop.platform, dir.path());
    AppContext& ctx = program.ctx();
    ctx.office = &lo;

    std::vector<double> up, restarted, ticks;
    for (int run = 0; run < runs; ++run) {
        for (bool programUp : {true, false}) {
            auto& w = static_cast<namelists::ListDrawWindow&>(*ctx.forms.ref(FormId::Form4));
            w.show();
            QElapsedTimer t;
            if (programUp) {
                // The first use of the window's program is the preparation itself.
                look();
                t.start();
                w.prepare();
            } else {
                button(w, "Command2")->click();
                button(w, "Command5")->click();
                look();
                t.start();
                button(w, "Command3")->click();
            }
            const double ms = t.nsecsElapsed() / 1e6;
            if (!w.timer(QStringLiteral("Timer1"))->enabled() || w.session().counts.totalCount != kPeople) {
                std::fprintf(stderr, "preparation did not roll (%d listed)\n", int(w.session().counts.totalCount));
                return 1;
            }
            (programUp ? up : restarted).push_back(ms);
            if (programUp) {
                // Rolling: one tick with its repaint, as the 15 ms timer drives it.
                for (int i = 0; i < 400; ++i) {
                    QElapsedTimer tick;
                    tick.start();
                    w.timer(QStringLiteral("Timer1"))->tick();
                    w.repaint();
                    QApplication::processEvents();
                    ticks.push_back(tick.nsecsElapsed() / 1e3);
                }
            }
            ctx.forms.unload(FormId::Form4);
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            lo.endApplications();
        }
    }
    const Stats a = stats(up), b = stats(restarted), c = stats(ticks);
    std::printf("first preparation of %d people, window just opened: median %.0f ms (min %.0f, max %.0f; %d runs)\n",
                kPeople, a.median, a.min, a.max, runs);
    std::printf("first preparation of %d people, after confirming:  median %.0f ms (min %.0f, max %.0f; %d runs)\n",
                kPeople, b.median, b.min, b.max, runs);
    std::sort(ticks.begin(), ticks.end());
    std::printf("rolling tick with repaint, %d names: median %.0f us, 99th percentile %.0f us, max %.0f us "
                "(%zu ticks; budget 15000 us)\n",
                kPeople, c.median, ticks[ticks.size() * 99 / 100], c.max, ticks.size());
    return 0;
}
