// A seniority-list run over 1,000 and 10,000 employees, two ways side by side
// in wall time: through the preview of the running program (every window
// created and bound to the shared table, as after start-up) and straight
// into a page store as `arsipstaf-admin report` runs it. The preview's run
// reads its own cursor, so the two should cost about the same. cpu_ms is the
// process's CPU time for the run (the machine is shared: the steadier figure).
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
#include <ctime>

namespace {
using Clock = std::chrono::steady_clock;

using app_bench::useDatabaseWith;

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void ReportThroughPreview(benchmark::State& state)
{
    useDatabaseWith(state.range(0));
    ApplicationObjects objects(openDataModule);
    objects.create();
    ReportPanel& panel = *Form9->Report1;
    int pages = 0;
    double cpu = 0;
    for (auto _ : state) {
        Clock::time_point start, finished;
        double cpuStart = 0, cpuFinished = 0;
        QTimer poll;
        poll.setInterval(0);
        TRepStandardPreview* preview = nullptr;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TRepPrinter* destination = preview ? preview->destination() : nullptr;
            if (destination && destination->status() == TRepPrinter::Status::Finished && panel.report().Available()) {
                finished = Clock::now();
                cpuFinished = cpuSeconds();
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
        cpuStart = cpuSeconds();
        Form9->OpenPreview();
        QObject::disconnect(opened);
        state.SetIterationTime(std::chrono::duration<double>(finished - start).count());
        cpu += cpuFinished - cpuStart;
    }
    state.counters["pages"] = pages;
    state.counters["cpu_ms"] = cpu * 1000 / static_cast<double>(state.iterations());
}

void ReportAsTheAdminToolRunsIt(benchmark::State& state)
{
    useDatabaseWith(state.range(0));
    TDMarsipstaf module;
    module.Loaded();
    QtTextMeasurer measurer;
    int pages = 0;
    double cpu = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const double cpuStart = cpuSeconds();
        auto report = ReportDefinitions::Form9(&module.Tdatapeg);
        report->Measurer = &measurer;
        TRepPrinter destination;
        report->RunReport(destination);
        pages = destination.PageCount();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        cpu += cpuSeconds() - cpuStart;
    }
    state.counters["pages"] = pages;
    state.counters["cpu_ms"] = cpu * 1000 / static_cast<double>(state.iterations());
}

BENCHMARK(ReportThroughPreview)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReportAsTheAdminToolRunsIt)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv)
{
    return app_bench::runOffscreen(argc, argv);
}
