// The collection's tune notes are indexed when the first PSID tune loads,
// while the user waits for it to sound: a file of the collection's size
// (17,000 entries, about 3.5 MB) should index well under 100 ms, and a
// tune's look-up must stay far below a frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "generatedfile.h"
#include "players/sid/stil.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t entries = 17000;

// The collection's layout: a folder entry now and then, most tunes with a
// title and an artist, some with a comment over several lines, one in
// five with subsong sections.
std::string makestil()
{
    std::string text = "### STIL written for the benchmark ###\n\n";
    char buf[200];
    for (uint32_t t = 0; t < entries; ++t) {
        if (t % 50 == 0) {
            std::snprintf(buf, sizeof buf, "/MUSICIANS/%c/Composer_%u/\nCOMMENT: A folder of tunes by one composer.\n\n",
                          'A' + t % 26, t / 50);
            text += buf;
        }
        std::snprintf(buf, sizeof buf, "/MUSICIANS/%c/Composer_%u/Tune_Number_%u.sid\n", 'A' + t % 26, t / 50, t);
        text += buf;
        std::snprintf(buf, sizeof buf, "  TITLE: A Game of the Year %u\n ARTIST: Some Band (%u)\n", 1980 + t % 15, t);
        text += buf;
        if (t % 3 == 0)
            text += "COMMENT: A comment long enough to run over onto a second line of\n"
                    "         text, as the longer ones in the collection do.\n";
        if (t % 5 == 0)
            for (int s = 1; s <= 3; ++s) {
                std::snprintf(buf, sizeof buf, "(#%d)\n  TITLE: Level %d\n", s, s);
                text += buf;
            }
        text += '\n';
    }
    return text;
}

// The generated file, in a scratch folder of its own.
struct stilfile : generatedfile {
    stilfile() : generatedfile("tarplay-stil-", fs::path("DOCUMENTS") / "STIL.txt", makestil()) {}
};

void BM_IndexCollectionNotes(benchmark::State& state)
{
    stilfile f;
    if (!f.ok) {
        state.SkipWithError("no scratch directory");
        return;
    }
    for (auto _ : state) {
        sid::stilreset();
        if (!sid::stilload(f.file, f.dir)) state.SkipWithError("notes not read");
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(f.file));
    state.counters["entries"] = static_cast<double>(sid::stil.entries.size());
    sid::stilreset();
}
BENCHMARK(BM_IndexCollectionNotes)->Unit(benchmark::kMillisecond);

void BM_NotesOfOneTune(benchmark::State& state)
{
    stilfile f;
    if (!f.ok || !sid::stilload(f.file, f.dir)) {
        state.SkipWithError("notes not read");
        return;
    }
    uint32_t t = 0;
    for (auto _ : state) {
        char buf[120];
        std::snprintf(buf, sizeof buf, "MUSICIANS/%c/Composer_%u/Tune_Number_%u.sid", 'A' + t % 26, t / 50, t);
        benchmark::DoNotOptimize(sid::stilnotes((f.dir / buf).string()));
        t = (t + 7919) % entries;
    }
    sid::stilreset();
}
BENCHMARK(BM_NotesOfOneTune)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
