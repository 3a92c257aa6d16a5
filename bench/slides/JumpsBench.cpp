// Slide jumps on a running show of the bundled MYPPT.ppt with real LibreOffice: for each of
// N jumps to a random other slide, the time from the jump until the slide's own colour is on
// the screen. Run it with both cores busy (run-jumps-bench.sh does) to see whether a jump
// can stay off the screen under load. Prints every jump, then the summary.
#include "office/Presentation.h"
#include "office/PresentationApp.h"
#include "office/SlideShowView.h"
#include "office/libreoffice/LibreOfficeSuite.h"

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QRandomGenerator>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLostAfterMs = 5000;

QColor colourOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect r = screen->geometry();
    return screen->grabWindow(0, r.width() / 32, r.height() / 2, 1, 1).toImage().pixelColor(0, 0);
}

// Milliseconds until the screen shows `colour`, or -1 when it did not within the bound.
double untilShown(const QColor& colour) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kLostAfterMs) {
        if (colourOnScreen() == colour)
            return clock.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents();
        QThread::usleep(500);
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int jumps = args.value(1, QStringLiteral("200")).toInt();
    const QString deck = QStringLiteral(VEXLO_DATA_DIR "/MYPPT.ppt");
    QFile colourFile(QStringLiteral(VEXLO_SLIDE_COLOURS));
    if (!colourFile.open(QIODevice::ReadOnly))
        return 2;
    std::vector<QColor> colours;
    for (const QJsonValue v : QJsonDocument::fromJson(colourFile.readAll()).object().value("colors").toArray())
        colours.emplace_back(v.toString());

    vexlo::office::LibreOfficeSuite suite;
    auto office = suite.createPresentationApp();
    auto show = office ? office->Open(deck) : nullptr;
    if (!show || !show->RunSlideShow())
        return 3;
    auto view = show->SlideShowWindowView();
    const int slides = show->SlideCount();
    if (!view || slides != int(colours.size()) || untilShown(colours[0]) < 0) {
        std::fprintf(stderr, "the show did not come up with %zu slides\n", colours.size());
        return 4;
    }

    std::vector<double> times;
    int lost = 0, current = 1;
    for (int i = 1; i <= jumps; ++i) {
        int next = current;
        while (next == current)
            next = 1 + int(QRandomGenerator::global()->bounded(slides));
        view->GotoSlide(next);
        const double ms = untilShown(colours[next - 1]);
        std::printf("jump %d to slide %d: %s\n", i, next, ms < 0 ? "lost" : qPrintable(QString::number(ms, 'f', 1)));
        if (ms < 0)
            ++lost;
        else
            times.push_back(ms);
        current = next;
    }
    std::sort(times.begin(), times.end());
    auto at = [&times](double q) { return times.empty() ? 0.0 : times[std::min(times.size() - 1, size_t(q * times.size()))]; };
    std::printf("%d jumps: %d lost; on screen after median %.1f ms, p95 %.1f ms, slowest %.1f ms\n", jumps, lost,
                at(0.5), at(0.95), times.empty() ? 0.0 : times.back());
    office->Quit();
    return lost == 0 ? 0 : 1;
}
