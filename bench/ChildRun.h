#pragma once
// Runs work in a child process and measures it there: wall-clock time, the
// child's CPU time (user + system) and its peak resident memory. The child
// starts as a copy of the benchmark, so the memory it inherits counts too;
// the benchmarks fork before they hold anything large.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>

struct ChildRun {
    double seconds = 0, cpuSeconds = 0, peakMB = 0;
    int status = -1;

    static ChildRun of(const std::function<int()>& work)
    {
        auto start = std::chrono::steady_clock::now();
        pid_t pid = fork();
        if (pid == 0)
            _exit(work());
        ChildRun run;
        rusage usage{};
        wait4(pid, &run.status, 0, &usage);
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.cpuSeconds =
            usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
        run.peakMB = usage.ru_maxrss / 1024.0;
        return run;
    }
};
