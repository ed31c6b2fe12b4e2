// The collection's song-length list is read at start-up or at the first tune
// loaded from the collection, while the user waits for the window: a list of
// the collection's size (60,000 lines, about 4 MB) should load well under
// 100 ms, and each lookup must stay far below a frame.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "generatedfile.h"
#include "players/sid/hvscdb.h"

namespace {

namespace fs = std::filesystem;

constexpr int listlines = 60000;

std::array<uint8_t, 16> digestof(uint32_t n)
{
    std::array<uint8_t, 16> d{};
    uint32_t x = n * 2654435761u + 12345;
    for (auto& b : d) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x);
    }
    return d;
}

// The collection's layout: a comment with the tune's path before each entry,
// one to four subsongs, milliseconds on most lengths.
std::string makelist()
{
    std::string text = "[Database]\n";
    char buf[160];
    for (uint32_t t = 0; t < listlines / 2; ++t) {
        std::snprintf(buf, sizeof buf, "; /MUSICIANS/%c/Composer_Number_%u/A_Somewhat_Longer_Tune_Title_%u.sid\n",
                      'A' + t % 26, t % 4000, t);
        text += buf;
        for (uint8_t b : digestof(t)) {
            std::snprintf(buf, sizeof buf, "%02x", b);
            text += buf;
        }
        text += '=';
        for (uint32_t s = 0; s <= t % 4; ++s) {
            std::snprintf(buf, sizeof buf, s ? " %u:%02u.%03u" : "%u:%02u.%03u", t % 7, (t * 7 + s) % 60, t % 1000);
            text += buf;
        }
        text += '\n';
    }
    return text;
}

// The generated file, in a scratch folder of its own.
struct listfile : generatedfile {
    listfile() : generatedfile("tarplay-hvsc-", "Songlengths.md5", makelist()) {}
};

void BM_LoadCollectionList(benchmark::State& state)
{
    listfile list;
    if (!list.ok) {
        state.SkipWithError("no scratch directory");
        return;
    }
    for (auto _ : state) {
        sid::hvscreset();
        if (!sid::hvscload(list.file)) state.SkipWithError("list not read");
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(list.file));
    state.counters["tunes"] = static_cast<double>(sid::hvscdb.tunes.size());
    sid::hvscreset();
}
BENCHMARK(BM_LoadCollectionList)->Unit(benchmark::kMillisecond);

void BM_LookupInCollectionList(benchmark::State& state)
{
    listfile list;
    if (!list.ok || !sid::hvscload(list.file)) {
        state.SkipWithError("list not read");
        return;
    }
    uint32_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sid::hvscfind(digestof(n)));
        n = (n + 7919) % listlines;
    }
    sid::hvscreset();
}
BENCHMARK(BM_LookupInCollectionList);

}  // namespace

BENCHMARK_MAIN();
