// Start-up time: from creating the program's objects to the login window
// shown and painted, and on to the menu window painted after the password,
// over the default database and over one with 1,000,000 employee records.
// Start-up opens the tables but reads no records in bulk, so both must take
// about the same time.
#include "ApplicationObjects.h"
#include "DataModuleStartup.h"
#include "DefaultTableFiles.h"
#include "EngineConfig.h"
#include "GenerateCommand.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TForm12.h"

#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

namespace {
using Clock = std::chrono::steady_clock;

// A database directory with the default tables and count demonstration
// records, made once per count and kept for the run.
std::map<long long, std::string> made;

std::string databaseWith(long long count)
{
    auto found = made.find(count);
    if (found != made.end())
        return found->second;
    std::string root = (std::filesystem::temp_directory_path() / "arsipstaf-bench-XXXXXX").string();
    if (!mkdtemp(root.data()))
        throw std::runtime_error("cannot make a temporary directory");
    const std::string directory = root + "/data";
    std::vector<std::string> report;
    if (!DefaultTableFiles::createIn(directory, report).ok())
        throw std::runtime_error("cannot create the tables");
    std::ostringstream out, err;
    if (count > 0 && GenerateCommand::runIn(directory, count, out, err) != 0)
        throw std::runtime_error("generate failed: " + err.str());
    return made[count] = root;
}

void useDatabase(const std::string& root)
{
    const std::string config = root + "/engine.conf";
    if (!EngineConfig::writeAlias(config, EngineConfig::defaultAlias, root + "/data").ok())
        throw std::runtime_error("cannot write " + config);
    setenv("ARSIPSTAF_ENGINE_CONFIG", config.c_str(), 1);
}

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
    useDatabase(databaseWith(state.range(0)));
    double loginSeconds = 0;
    double menuSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
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
BENCHMARK(StartupToLoginAndMenu)->Arg(0)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [count, root] : made)
        std::filesystem::remove_all(root);
    return 0;
}
