// The listing is rebuilt and bubble-sorted on every change of directory; a
// full list must still come back well within one 20 ms frame of the screen.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/playback.h"
#include "selector/dirlist.h"

namespace {

void fillreversed()
{
    const int n = selector::maxdirentries;
    for (int i = 0; i < n; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "f%04d.sid", n - i);
        selector::dirlist[i].isdir = 0;
        selector::dirlist[i].name = buf;
        selector::dirlist[i].label = buf;
    }
}

// Worst case for the sort: a full list in reverse order.
void BM_SortFullReversedList(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        fillreversed();
        state.ResumeTiming();
        selector::sortdirlist(selector::maxdirentries);
    }
}
BENCHMARK(BM_SortFullReversedList)->Unit(benchmark::kMillisecond);

// A directory of 1100 tunes under two players: three enumerations, the
// limit, and the sort.
void BM_BuildFullDirectory(benchmark::State& state)
{
    const auto saved = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "tarplay-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no scratch directory");
        return;
    }
    std::filesystem::current_path(pattern);
    for (int i = 0; i < 1100; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "t%d%s", (i * 7919) % 1100, i % 3 ? ".sid" : ".ahx");
        std::ofstream{name};
    }
    shell::playersinit();
    shell::players[7] = {true, nullptr, nullptr, nullptr, ".SID", ""};
    shell::players[6] = {true, nullptr, nullptr, nullptr, ".AHX", ""};
    for (auto _ : state) selector::builddirlist();
    state.counters["entries"] = selector::dircount;
    std::filesystem::current_path(saved);
    std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_BuildFullDirectory)->Unit(benchmark::kMillisecond);

}  // namespace
