// Start-up time: from creating the program's objects to the login window
// shown and painted, and on to the menu window painted after the password,
// over the default database and over one with 1,000,000 employee records.
// Start-up opens the tables but reads no records in bulk, so both must take
// about the same time. Second argument 1: the tables opened ahead on their
// own thread while the windows are built, as the program starts (the font
// configuration, read ahead by the program too, is read once per process
// and so is the same for both).
#include "AppBench.h"
#include "ApplicationObjects.h"
#include "DataModuleStartup.h"
#include "TForm1.h"
#include "TForm12.h"

#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <chrono>
#include <iostream>

namespace {
using Clock = std::chrono::steady_clock;

// Processes events until the window has been painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* window) : window_(window) { window->installEventFilter(this); }
    void wait()
    {
        while (!painted_)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint)
            painted_ = true;
        return false;
    }

private:
    QWidget* window_;
    bool painted_ = false;
};

void StartupToLoginAndMenu(benchmark::State& state)
{
    app_bench::useDatabaseWith(state.range(0));
    const bool ahead = state.range(1) != 0;
    double loginSeconds = 0;
    double menuSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        std::shared_ptr<TableFilesAhead> tables = ahead ? openTablesAhead() : nullptr;
        ApplicationObjects objects(openDataModule);
        objects.create();
        PaintWatch login(Form12);
        Form12->Show();
        login.wait();
        const auto loginShown = Clock::now();
        PaintWatch menu(Form1);
        Form12->Edit1->setText(QStringLiteral("mawar"));
        Form12->Button1->click();
        menu.wait();
        const auto menuShown = Clock::now();
        loginSeconds += std::chrono::duration<double>(loginShown - start).count();
        menuSeconds += std::chrono::duration<double>(menuShown - start).count();
        state.SetIterationTime(std::chrono::duration<double>(menuShown - start).count());
    }
    state.counters["login_ms"] = benchmark::Counter(loginSeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["menu_ms"] = benchmark::Counter(menuSeconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(StartupToLoginAndMenu)
    ->ArgNames({"employees", "ahead"})
    ->ArgsProduct({{0, 1000000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv)
{
    return app_bench::runOffscreen(argc, argv);
}
