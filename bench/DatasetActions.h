#pragma once
// The dataset actions that the file benchmark and the two-engine benchmark
// both time, on a table whose window a link has made ten rows.
#include "TTable.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace dataset_actions {

inline void next(benchmark::State& state, TTable& t)
{
    t.First();
    for (auto _ : state) {
        if (t.Eof())
            t.First();
        t.Next();
    }
}

inline void prior(benchmark::State& state, TTable& t)
{
    t.Last();
    for (auto _ : state) {
        if (t.Bof())
            t.Last();
        t.Prior();
    }
}

inline void first(benchmark::State& state, TTable& t)
{
    for (auto _ : state)
        t.First();
}

inline void last(benchmark::State& state, TTable& t)
{
    for (auto _ : state)
        t.Last();
}

inline void findNearestName(benchmark::State& state, TTable& t, const std::vector<std::string>& names)
{
    t.SetIndexFieldNames("Nama_Pegawai");
    size_t i = 0;
    for (auto _ : state)
        t.FindNearest({names[i++ % names.size()]});
    t.SetIndexFieldNames("NIP");
}

inline void findKeyNip(benchmark::State& state, TTable& t, const std::vector<std::string>& nips)
{
    t.SetIndexFieldNames("NIP");
    size_t i = 0;
    for (auto _ : state)
        if (!t.FindKey({nips[i++ % nips.size()]}))
            state.SkipWithError("a sampled key is missing");
}

inline void switchOrdering(benchmark::State& state, TTable& t)
{
    const char* orders[] = {"NIP", "Karpeg", "Nama_Pegawai"};
    size_t i = 0;
    for (auto _ : state)
        t.SetIndexFieldNames(orders[i++ % 3]);
    t.SetIndexFieldNames("NIP");
}

inline void editPost(benchmark::State& state, TTable& t)
{
    t.First();
    int n = 0;
    for (auto _ : state) {
        t.Edit();
        t.FieldByName("Alamat")->SetText("Jl. Bench " + std::to_string(n++));
        t.Post();
    }
}

// A key above every stored one, so appended records never collide.
inline long nextFreeNip(TTable& t)
{
    t.SetIndexFieldNames("NIP");
    t.Last();
    return std::stol(t.FieldByName("NIP")->AsString()) + 1;
}

// Appends records with keys above every stored one, then deletes them.
inline void appendPost(benchmark::State& state, TTable& t)
{
    long n = nextFreeNip(t);
    long first = n;
    for (auto _ : state) {
        t.Append();
        t.FieldByName("NIP")->SetText(std::to_string(n++));
        t.FieldByName("Nama_Pegawai")->SetText("Bench");
        t.Post();
    }
    // Untimed: the loop is over.
    t.Last();
    for (long i = first; i < n; ++i)
        t.Delete();
}

// Deletes a record appended untimed before each.
inline void deleteAppended(benchmark::State& state, TTable& t)
{
    long n = nextFreeNip(t);
    for (auto _ : state) {
        state.PauseTiming();
        t.Append();
        t.FieldByName("NIP")->SetText(std::to_string(n++));
        t.Post();
        state.ResumeTiming();
        t.Delete();
    }
}

}  // namespace dataset_actions
