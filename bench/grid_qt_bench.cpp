// The employee grid of the employee data window (row select, 14 columns,
// 10 visible rows) on tables of 1,000 and 1,000,000 employees made by
// `arsipstaf-admin generate`, offscreen. Each action is timed from the key
// or click to the end of the repaint it causes. The generated tables are
// kept for reruns (BenchData.h).
#include "BenchData.h"
#include "TDBGrid.h"
#include "TDMarsipstaf.h"
#include "TableFields.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

// The data module on one generated directory and the employee grid,
// 10 rows high, focused in a shown window.
struct GridBench {
    std::unique_ptr<TDMarsipstaf> dm;
    std::unique_ptr<QWidget> window;
    TDBGrid* grid = nullptr;

    explicit GridBench(long records)
    {
        bench_data::useAlias(records);
        dm = std::make_unique<TDMarsipstaf>();
        dm->Loaded();
        window = std::make_unique<QWidget>();
        grid = new TDBGrid(window.get());
        grid->SetOptions({TDBGridOption::dgTitles, TDBGridOption::dgIndicator, TDBGridOption::dgColumnResize,
                          TDBGridOption::dgTabs, TDBGridOption::dgRowSelect, TDBGridOption::dgConfirmDelete,
                          TDBGridOption::dgCancelOnExit});
        namespace employees = fields::Datapegawai;
        for (const CatalogueField& field :
             {employees::NIP, employees::Karpeg, employees::Nama_Pegawai, employees::Tempat_Lahir,
              employees::Tanggal_Lahir, employees::JenisKelamin, employees::Agama, employees::Alamat,
              employees::Pangkat, employees::Golongan, employees::Jabatan, employees::PendidikanFormal,
              employees::Pendidikan_Diklat, employees::Status})
            grid->AddColumn(field.name);
        grid->SetDataSource(&dm->DSdatapeg);
        window->resize(1000, 400);
        grid->setGeometry(0, 0, 1000, 400);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            throw std::runtime_error("the window is not shown");
        // Shrink to exactly 10 data rows.
        int height = 400;
        while (grid->VisibleRowCount() > 10 && height > 50)
            grid->resize(1000, --height);
        grid->setFocus();
        QApplication::processEvents();
        if (grid->VisibleRowCount() != 10)
            throw std::runtime_error("the grid does not show 10 rows");
    }

    ~GridBench()
    {
        window.reset();
        dm.reset();
    }
};

// One table size at a time: the alias names one directory.
std::unique_ptr<GridBench> current;
long currentRecords = 0;

GridBench& bench(long records)
{
    if (!current || currentRecords != records) {
        current.reset();
        current = std::make_unique<GridBench>(records);
        currentRecords = records;
    }
    return *current;
}

// Times one action and its repaint.
template <typename Action>
void timed(benchmark::State& state, TDBGrid* grid, Action action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    grid->viewport()->repaint();
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
}

void BM_PageDown(benchmark::State& state)
{
    GridBench& b = bench(state.range(0));
    b.dm->Tdatapeg.First();
    for (auto _ : state) {
        if (b.dm->Tdatapeg.Eof())
            b.dm->Tdatapeg.First();
        timed(state, b.grid, [&] { QTest::keyClick(b.grid, Qt::Key_PageDown); });
    }
}

void BM_End(benchmark::State& state)
{
    GridBench& b = bench(state.range(0));
    for (auto _ : state) {
        b.dm->Tdatapeg.First();
        timed(state, b.grid, [&] { QTest::keyClick(b.grid, Qt::Key_End); });
    }
}

void BM_Home(benchmark::State& state)
{
    GridBench& b = bench(state.range(0));
    for (auto _ : state) {
        b.dm->Tdatapeg.Last();
        timed(state, b.grid, [&] { QTest::keyClick(b.grid, Qt::Key_Home); });
    }
}

void BM_ClickBottomRow(benchmark::State& state)
{
    GridBench& b = bench(state.range(0));
    b.dm->Tdatapeg.First();
    for (auto _ : state) {
        b.dm->Tdatapeg.MoveBy(-b.grid->DataLink().ActiveRecord());  // back to the top row
        const QPoint bottom = b.grid->CellRect(2, 9).center();
        timed(state, b.grid, [&] { QTest::mouseClick(b.grid->viewport(), Qt::LeftButton, Qt::NoModifier, bottom); });
    }
}

// Why the grid's scroll bar does not number records: the only count the
// engine has grows with the table.
void BM_RecordCount(benchmark::State& state)
{
    GridBench& b = bench(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(b.dm->Tdatapeg.RecordCount());
}

BENCHMARK(BM_PageDown)->Arg(1000)->Arg(1000000)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_End)->Arg(1000)->Arg(1000000)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Home)->Arg(1000)->Arg(1000000)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickBottomRow)->Arg(1000)->Arg(1000000)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordCount)->Arg(1000)->Arg(1000000)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    current.reset();
    benchmark::Shutdown();
    return 0;
}
