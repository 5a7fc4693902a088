// `arsipstaf-admin report Form9 FILE` beside its floor, at 100,000 and
// 1,000 employees: the same joined rows read by one SQL statement with the
// sqlite3 tool, plus writing as many bytes as the report file holds (synced,
// as the saved report is). Each is a child process, paired in one iteration:
//   admin_cpu_s   the report command's CPU time (user + system)
//   floor_cpu_s   the floor's: the sqlite3 tool and the writer together
//   x_floor       admin_cpu_s / floor_cpu_s
//   file_MB       the saved report file
//   written_MB    what the report command wrote (wchar of /proc/PID/io)
//   x_file        written_MB / file_MB: 1 when the page file is written once
// With ARSIPSTAF_BENCH_ADMIN naming an arsipstaf-admin binary (an earlier
// build, say), each iteration runs that binary's report too, interleaved with
// this build's, and both as processes of their own (this build's binary from
// tools/ beside the benchmark), so the two pair like with like:
//   earlier_cpu_s    the other binary's CPU time
//   earlier_x_floor  earlier_cpu_s / floor_cpu_s
#include "AdminTool.h"
#include "BenchData.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ChildRun {
    double cpuSeconds = 0;
    double writtenBytes = 0;
    int status = -1;
};

// The child's counters are read while it is a zombie, before it is reaped.
double writtenBy(pid_t pid)
{
    std::ifstream io("/proc/" + std::to_string(pid) + "/io");
    std::string key;
    double value = 0;
    while (io >> key >> value)
        if (key == "wchar:")
            return value;
    return 0;
}

ChildRun runChild(const std::function<int()>& work)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(work());
    ChildRun run;
    siginfo_t info{};
    waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
    run.writtenBytes = writtenBy(pid);
    rusage usage{};
    wait4(pid, &run.status, 0, &usage);
    run.cpuSeconds =
        usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    return run;
}

const char* const FloorQuery = R"(
ATTACH 'Agama.db' AS ag; ATTACH 'Golongan.db' AS gol; ATTACH 'JK.db' AS jk; ATTACH 'Jabatan.db' AS jab;
ATTACH 'Pangkat.db' AS pk; ATTACH 'Pend_Formal.db' AS pf; ATTACH 'Status.db' AS st;
SELECT r.Nama_Pegawai, r.NIP, r.Tempat_Lahir, r.Tanggal_Lahir, jk.records.JK, ag.records.Agama, r.Karpeg,
       pk.records.Pangkat, gol.records.Golongan, pf.records.Pend_Formal, st.records.Status
FROM main.records r
LEFT JOIN jk.records ON jk.records.Kd_JK = r.Kd_JK
LEFT JOIN ag.records ON ag.records.Kd_Agama = r.Kd_Agama
LEFT JOIN pk.records ON pk.records.Kd_Pangkat = r.Kd_Pangkat
LEFT JOIN gol.records ON gol.records.Kd_Gol = r.Kd_Gol
LEFT JOIN pf.records ON pf.records.Kd_Pend = r.Kd_Pend
LEFT JOIN st.records ON st.records.Kd_Status = r.Kd_Status
ORDER BY r.NIP;
)";

// The sqlite3 tool reads the query from its input and prints to nothing.
int runSqliteTool(const std::string& directory, const std::string& queryFile)
{
    if (chdir(directory.c_str()) != 0)
        return 1;
    const int in = open(queryFile.c_str(), O_RDONLY);
    const int out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0)
        return 1;
    execlp("sqlite3", "sqlite3", "Datapegawai.db", static_cast<char*>(nullptr));
    return 127;
}

int writeBytes(const std::string& file, std::uintmax_t bytes)
{
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char> chunk(64 * 1024, 'x');
    for (std::uintmax_t left = bytes; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<std::uintmax_t>(left, chunk.size()));
        if (write(fd, chunk.data(), n) != static_cast<ssize_t>(n))
            return 1;
        left -= n;
    }
    return fsync(fd) == 0 && close(fd) == 0 ? 0 : 1;
}

// `binary report Form9 saved`, its output to nothing; returns only on failure.
int runBinary(const std::string& binary, const std::string& saved)
{
    const int out = open("/dev/null", O_WRONLY);
    dup2(out, 1);
    dup2(out, 2);
    execl(binary.c_str(), binary.c_str(), "report", "Form9", saved.c_str(), static_cast<char*>(nullptr));
    return 127;
}

// This build's arsipstaf-admin: tools/ beside bench/.
std::string ownBinary()
{
    return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "arsipstaf-admin").string();
}

void BM_ReportBesideItsFloor(benchmark::State& state)
{
    const long records = state.range(0);
    bench_data::useAlias(records);
    const std::string directory = bench_data::directory(records);
    const fs::path work = bench_data::base() / ("report-floor-" + std::to_string(getpid()));
    fs::create_directories(work);
    const std::string queryFile = (work / "floor.sql").string();
    std::ofstream(queryFile) << FloorQuery;
    const std::string saved = (work / "Form9.RPF").string();
    const char* other = std::getenv("ARSIPSTAF_BENCH_ADMIN");
    const std::string earlier = other ? other : "";
    for (auto _ : state) {
        const ChildRun admin = runChild([&] {
            if (!earlier.empty())
                return runBinary(ownBinary(), saved);
            std::ostringstream out, err;
            return AdminTool::run({"report", "Form9", saved}, out, err);
        });
        const std::uintmax_t size = fs::file_size(saved);
        ChildRun before;
        if (!earlier.empty()) {
            before = runChild([&] { return runBinary(earlier, saved); });
            if (before.status != 0)
                state.SkipWithError("the earlier binary's run failed");
        }
        const ChildRun query = runChild([&] { return runSqliteTool(directory, queryFile); });
        const ChildRun written = runChild([&] { return writeBytes((work / "floor.bin").string(), size); });
        if (admin.status != 0 || query.status != 0 || written.status != 0)
            state.SkipWithError("a run failed");
        const double floor = query.cpuSeconds + written.cpuSeconds;
        state.SetIterationTime(admin.cpuSeconds);
        state.counters["admin_cpu_s"] = admin.cpuSeconds;
        state.counters["floor_cpu_s"] = floor;
        state.counters["x_floor"] = floor > 0 ? admin.cpuSeconds / floor : 0;
        state.counters["file_MB"] = static_cast<double>(size) / 1e6;
        state.counters["written_MB"] = admin.writtenBytes / 1e6;
        state.counters["x_file"] = size > 0 ? admin.writtenBytes / static_cast<double>(size) : 0;
        if (!earlier.empty()) {
            state.counters["earlier_cpu_s"] = before.cpuSeconds;
            state.counters["earlier_x_floor"] = floor > 0 ? before.cpuSeconds / floor : 0;
        }
    }
    fs::remove_all(work);
}

}  // namespace

BENCHMARK(BM_ReportBesideItsFloor)
    ->ArgName("employees")
    ->Arg(100000)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
