// Figures for the LibreOffice backend against the real office. Needs a display (run
// through run-office-bench.sh, which starts a private Xvfb).

#include "office/Presentation.h"
#include "office/PresentationApp.h"
#include "office/SheetRange.h"
#include "office/SlideShowView.h"
#include "office/SpreadsheetApp.h"
#include "office/Workbook.h"
#include "office/Worksheet.h"
#include "office/libreoffice/LibreOfficeSuite.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <vector>

using namespace vexlo::office;

namespace {

constexpr int kPeople = 600;
const QString kPassword = QStringLiteral("708klm");

struct Shared {
    QTemporaryDir dir;
    LibreOfficeSuite suite;
    QString nameXls;
    QString slides30;

    Shared() {
        nameXls = dir.filePath(QStringLiteral("name.xls"));
        SheetContent s{QStringLiteral("sheet1"), {}};
        s.set(1, 1, QStringLiteral("随机抽签名单"));
        s.set(10, 4, double(kPeople));
        s.set(11, 4, double(kPeople));
        auto* rng = QRandomGenerator::global();
        for (int k = 1; k <= kPeople; ++k) {
            s.set(12 + k, 1, double(k));
            s.set(12 + k, 2, QStringLiteral("学生%1").arg(k));
            s.set(12 + k, 3, double(k));
            s.set(12 + k, 4, double(rng->bounded(1, 13)));
            s.set(12 + k, 5, double(rng->bounded(1, 601)));
        }
        if (!suite.writeWorkbook(nameXls, {{s}}, kPassword)) qFatal("cannot write name.xls");
        slides30 = dir.filePath(QStringLiteral("MYPPT.ppt"));
        if (!suite.writePresentation(slides30, 30)) qFatal("cannot write MYPPT.ppt");
    }
};

Shared* g_shared = nullptr; // deleted at the end of main(), before static teardown

Shared& shared() {
    if (!g_shared) g_shared = new Shared;
    return *g_shared;
}

std::shared_ptr<Worksheet> openSheet(SpreadsheetApp& app) {
    auto wb = app.Open(shared().nameXls, kPassword);
    return wb ? wb->SelectWorksheet(QStringLiteral("sheet1")) : nullptr;
}

void BM_CreateAndOpen(benchmark::State& state) {
    const bool cold = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir fresh;
        LibreOfficeOptions o;
        if (cold) o.profileRoot = fresh.path();
        auto suite = std::make_unique<LibreOfficeSuite>(o);
        state.ResumeTiming();
        auto app = suite->createSpreadsheetApp();
        auto sheet = app ? openSheet(*app) : nullptr;
        if (!sheet) state.SkipWithError("create or open failed");
        state.PauseTiming();
        if (app) app->Quit();
        suite.reset();
        state.ResumeTiming();
    }
    state.SetLabel(cold ? "cold profile" : "warm profile");
}
BENCHMARK(BM_CreateAndOpen)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadNamesAndEmptyDrawColumn(benchmark::State& state) {
    const bool batch = state.range(0) == 1;
    auto app = shared().suite.createSpreadsheetApp();
    auto sheet = app ? openSheet(*app) : nullptr;
    if (!sheet) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        QStringList numbers, names;
        if (batch) {
            auto block = sheet->Values(13, 1, 12 + kPeople, 2);
            if (!block || !sheet->ClearCells(13, 3, 12 + kPeople, 3)) state.SkipWithError("batch failed");
            for (const auto& row : *block) {
                numbers.append(cellValueText(row[0]));
                names.append(cellValueText(row[1]));
            }
        } else {
            for (int k = 1; k <= kPeople; ++k) {
                numbers.append(sheet->Text(12 + k, 1).value_or(QString()));
                names.append(sheet->Text(12 + k, 2).value_or(QString()));
                sheet->SetValue(12 + k, 3, QString());
            }
        }
        benchmark::DoNotOptimize(names);
        if (names.size() != kPeople || names.last() != QStringLiteral("学生600")) state.SkipWithError("wrong names");
    }
    state.SetLabel(batch ? "batched: one read, one clear" : "cell by cell: 1800 calls");
    app->Quit();
}
BENCHMARK(BM_ReadNamesAndEmptyDrawColumn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sort600OnTwoKeys(benchmark::State& state) {
    auto app = shared().suite.createSpreadsheetApp();
    auto sheet = app ? openSheet(*app) : nullptr;
    auto range = app ? app->ActiveSheetRange(QStringLiteral("A13:G%1").arg(12 + kPeople)) : nullptr;
    if (!sheet || !range) {
        state.SkipWithError("open failed");
        return;
    }
    bool flip = false;
    for (auto _ : state) {
        // Alternate the direction so every round really moves rows.
        const auto order = flip ? SortOrder::Descending : SortOrder::Ascending;
        flip = !flip;
        if (!range->Sort(QStringLiteral("D13"), order, QStringLiteral("E13"), order, SortHeader::No))
            state.SkipWithError("sort failed");
    }
    app->Quit();
}
BENCHMARK(BM_Sort600OnTwoKeys)->Unit(benchmark::kMillisecond)->UseRealTime();

// range(0) == 0: the caller's time in GotoSlide (the jump is sent, not awaited);
// range(0) == 1: GotoSlide followed by CurrentShowPosition, i.e. until the office has
// drawn the slide and answers with it.
void BM_GotoSlide(benchmark::State& state) {
    const bool untilShown = state.range(0) == 1;
    auto app = shared().suite.createPresentationApp();
    auto pres = app ? app->Open(shared().slides30) : nullptr;
    if (!pres || !pres->RunSlideShow()) {
        state.SkipWithError("show did not start");
        return;
    }
    auto view = pres->SlideShowWindowView();
    std::vector<double> ms;
    auto* rng = QRandomGenerator::global();
    int last = 1;
    for (auto _ : state) {
        int slide = rng->bounded(1, 31);
        if (slide == last) slide = slide % 30 + 1;
        last = slide;
        const auto t0 = std::chrono::steady_clock::now();
        bool ok = view->GotoSlide(slide);
        if (untilShown) ok = ok && view->CurrentShowPosition() == slide;
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        if (!ok) state.SkipWithError("jump failed");
        if (!untilShown) {
            // Pace like the 5 ms flicker tick, so jumps are not all collapsed into one.
            state.PauseTiming();
            const auto until = t0 + std::chrono::milliseconds(5);
            while (std::chrono::steady_clock::now() < until) {
            }
            state.ResumeTiming();
        }
    }
    if (!untilShown && view->CurrentShowPosition() != last) state.SkipWithError("show is not on the last slide");
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p95_ms"] = ms[ms.size() * 95 / 100];
        state.counters["max_ms"] = ms.back();
    }
    state.SetLabel(untilShown ? "until the office shows it" : "caller's time, 5 ms ticks");
    app->Quit();
}
BENCHMARK(BM_GotoSlide)->Arg(0)->Arg(1)->Iterations(600)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QuitUntilProcessGone(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto app = shared().suite.createSpreadsheetApp();
        if (!app || !openSheet(*app)) state.SkipWithError("open failed");
        const qint64 pid = app ? app->ProcessId() : 0;
        state.ResumeTiming();
        if (app) app->Quit(); // returns once the process has been reaped
        state.PauseTiming();
        if (QFile::exists(QStringLiteral("/proc/%1").arg(pid))) state.SkipWithError("process still there");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QuitUntilProcessGone)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_shared;
    return 0;
}
