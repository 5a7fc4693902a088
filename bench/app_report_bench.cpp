// A seniority-list run over 1,000 and 10,000 employees, two ways side by side
// in wall time: through the preview of the running program (every window
// created and bound to the shared table, as after start-up) and straight
// into a page store as `arsipstaf-admin report` runs it. The preview's run
// reads its own cursor, so the two should cost about the same.
#include "AppBench.h"
#include "ApplicationObjects.h"
#include "DataModuleStartup.h"
#include "QtTextMeasurer.h"
#include "ReportDefinitions.h"
#include "TDMarsipstaf.h"
#include "TForm9.h"

#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {
using Clock = std::chrono::steady_clock;

using app_bench::useDatabaseWith;

void ReportThroughPreview(benchmark::State& state)
{
    useDatabaseWith(state.range(0));
    ApplicationObjects objects(openDataModule);
    objects.create();
    ReportPanel& panel = *Form9->Report1;
    int pages = 0;
    for (auto _ : state) {
        Clock::time_point start, finished;
        QTimer poll;
        poll.setInterval(0);
        TRepStandardPreview* preview = nullptr;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TRepPrinter* destination = preview ? preview->destination() : nullptr;
            if (destination && destination->status() == TRepPrinter::Status::Finished && panel.report().Available()) {
                finished = Clock::now();
                pages = destination->PageCount();
                poll.stop();
                preview->close();
            }
        });
        auto opened = QObject::connect(&panel, &ReportPanel::previewOpened, [&](TRepStandardPreview* p) {
            preview = p;
            poll.start();
        });
        start = Clock::now();
        Form9->OpenPreview();
        QObject::disconnect(opened);
        state.SetIterationTime(std::chrono::duration<double>(finished - start).count());
    }
    state.counters["pages"] = pages;
}

void ReportAsTheAdminToolRunsIt(benchmark::State& state)
{
    useDatabaseWith(state.range(0));
    TDMarsipstaf module;
    module.Loaded();
    QtTextMeasurer measurer;
    int pages = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto report = ReportDefinitions::Form9(&module.Tdatapeg);
        report->Measurer = &measurer;
        TRepPrinter destination;
        report->RunReport(destination);
        pages = destination.PageCount();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["pages"] = pages;
}

BENCHMARK(ReportThroughPreview)->Arg(1000)->Arg(10000)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ReportAsTheAdminToolRunsIt)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv)
{
    return app_bench::runOffscreen(argc, argv);
}
