// The listing is rebuilt and sorted on every change of directory, and the
// screen draws and searches it every frame: a folder of 50,000 entries must
// still come back well within one 20 ms frame of the screen for drawing and
// searching, and within a blink for a rebuild.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/playback.h"
#include "screen/console.h"
#include "screen/video.h"
#include "selector/dirlist.h"
#include "selector/selector.h"

namespace {

constexpr int bigfolder = 50000;

void fillreversed(int n)
{
    if (selector::dirlist.size() < static_cast<size_t>(n)) selector::dirlist.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "f%05d.sid", n - i);
        selector::dirlist[i].isdir = 0;
        selector::dirlist[i].name = buf;
        selector::dirlist[i].label = buf;
    }
    selector::dircount = n;
}

// Worst case for an exchange sort: a large list in reverse order.
void BM_SortReversedList(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        fillreversed(n);
        state.ResumeTiming();
        selector::sortdirlist(n);
    }
}
BENCHMARK(BM_SortReversedList)->Arg(1023)->Arg(bigfolder)->Unit(benchmark::kMillisecond);

// One frame of the screen with the cursor at the end, and a quick search
// whose match is the last entry.
void BM_DrawAndSearchLargeList(benchmark::State& state)
{
    fillreversed(bigfolder);
    selector::sortdirlist(bigfolder);
    // The parent on top, so that the first letter's match is not entry 0
    // (which would start the prefix anew).
    selector::dirlist[0] = {1, "..", "<..>"};
    screen::screenrows = 50;
    selector::selrow = 25;
    for (auto _ : state) {
        selector::selpos = selector::dircount - 1;
        selector::drawselector();
        selector::quickpos = 0;
        for (char c : std::string("F50000")) selector::quicksearch(c);
        if (selector::selpos != selector::dircount - 1) state.SkipWithError("search missed");
    }
}
BENCHMARK(BM_DrawAndSearchLargeList)->Unit(benchmark::kMillisecond);

// A real folder of tunes under two players: one enumeration, both players'
// files and the sort.
void BM_BuildDirectory(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    const auto saved = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "tarplay-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no scratch directory");
        return;
    }
    std::filesystem::current_path(pattern);
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "t%d%s", (i * 7919) % files, i % 3 ? ".sid" : ".ahx");
        std::ofstream{name};
    }
    core::playersinit();
    core::players[7] = {true, nullptr, nullptr, nullptr, ".SID", ""};
    core::players[6] = {true, nullptr, nullptr, nullptr, ".AHX", ""};
    for (auto _ : state) selector::builddirlist();
    state.counters["entries"] = selector::dircount;
    std::filesystem::current_path(saved);
    std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_BuildDirectory)->Arg(1100)->Arg(bigfolder)->Unit(benchmark::kMillisecond);

}  // namespace
