// One tick of the main window's 100 ms poll (Timer2) on a real X display with many
// top-level windows of another process: always on top, docking with the real pointer,
// the walk over every window and its titles, keep on screen and the F9 key state.
// Prints the median, the 90th percentile and what one walk asks of the X server.
//
// Usage: poll_bench HELPER [windows] [ticks]   (on an X display; see run-poll-bench.sh)
#include "core/FormTimer.h"
#include "lifecycle/Application.h"
#include "platform/fake/FakePlatform.h"
#include "platform/x11/QtScreen.h"
#include "platform/x11/X11KeyState.h"
#include "platform/x11/X11WindowList.h"
#include "platform/x11/X11WindowPlacement.h"
#include "timer/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

void report(const char* what, const std::vector<double>& us) {
    std::printf("%-34s median %7.1f us   p90 %7.1f us   min %7.1f us\n", what, percentile(us, 0.5),
                percentile(us, 0.9), percentile(us, 0.0));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: poll_bench HELPER [windows] [ticks]\n");
        return 2;
    }
    const int windows = argc > 2 ? std::atoi(argv[2]) : 200;
    const int ticks = argc > 3 ? std::atoi(argv[3]) : 2000;
    FormTimer::setManualMode(true);

    // Another process's windows, as on a busy desktop: most shown, some hidden, some with
    // legacy names only, Chinese titles among them.
    QStringList specs;
    for (int i = 0; i < windows; ++i) {
        const char* kind = i % 10 == 0 ? "hidden" : i % 10 == 1 ? "latin1" : "shown";
        specs << QStringLiteral("%1:窗口 %2 - Document %2").arg(QLatin1String(kind)).arg(i);
    }
    QProcess helper;
    helper.start(QString::fromLocal8Bit(argv[1]), specs);
    if (!helper.waitForStarted() || !helper.waitForReadyRead(30000) ||
        !helper.readLine().startsWith("ready")) {
        std::fprintf(stderr, "the window helper did not start\n");
        return 1;
    }

    platform::FakePlatform fake;
    platform::QtScreen screen;
    platform::X11WindowPlacement placement;
    platform::X11KeyState keys;
    platform::X11WindowList list;
    platform::Platform desktop{fake.messages, screen,       placement,  fake.instance,  fake.sounds, keys,
                               list,          fake.taskbar, fake.input, fake.processes, fake.chores, fake.desktopWindows};
    QTemporaryDir dir;
    for (const char* name : {"name.xls", "name1.xls", "MYPPT.ppt", "Note1.PPT", "Note2.PPT"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        f.open(QIODevice::WriteOnly);
    }
    QDir::setCurrent(dir.path());
    Application program(desktop, dir.path());
    if (!program.start())
        return 1;
    MainWindow& main = program.ctx().forms.ref<MainWindow>();
    main.timer(QStringLiteral("Timer6"))->tick();
    FormTimer* poll = main.timer(QStringLiteral("Timer2"));
    for (int i = 0; i < 100; ++i) {
        QCoreApplication::processEvents();
        poll->tick();
    }

    std::vector<double> tickUs, walkUs;
    tickUs.reserve(static_cast<size_t>(ticks));
    QElapsedTimer clock;
    for (int i = 0; i < ticks; ++i) {
        QCoreApplication::processEvents(); // what the event loop does between two ticks
        clock.start();
        poll->tick();
        tickUs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1000.0);
    }
    const platform::X11WindowList::Requests r = list.lastWalk();
    std::vector<platform::WindowList::Entry> entries;
    for (int i = 0; i < ticks; ++i) {
        clock.start();
        list.walk(entries);
        walkUs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1000.0);
    }
    // The same walk reading every title every time: what a desktop of new windows costs.
    platform::X11WindowList reading(platform::X11WindowList::Mode::Reading);
    std::vector<double> readingUs;
    for (int i = 0; i < ticks / 4; ++i) {
        clock.start();
        reading.walk(entries);
        readingUs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1000.0);
    }
    const platform::X11WindowList::Requests all = reading.lastWalk();
    std::printf("%d windows of another process, %zu top-level windows walked\n", windows, entries.size());
    report("pollTick (Timer2)", tickUs);
    report("  of which the window walk", walkUs);
    std::printf("  one walk: %d round trips, %d tree queries, %d property reads\n", r.batches, r.treeQueries,
                r.propertyReads);
    report("walk reading every title", readingUs);
    std::printf("  one walk: %d round trips, %d tree queries, %d property reads\n", all.batches, all.treeQueries,
                all.propertyReads);
    helper.write("quit\n");
    helper.closeWriteChannel();
    helper.waitForFinished();
    return 0;
}
