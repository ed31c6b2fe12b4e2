// Bounded fuzzing that runs with every test run: deterministic mutations of
// our own tunes and of small hand-made seeds go through each loader. The
// sanitizers turn any out-of-bounds access into a failure; a hang shows as a
// test time-out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "boundedrun.h"
#include "fuzz/fuzztargets.h"

namespace {

using bytes = std::vector<uint8_t>;

bytes readfile(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::vector<bytes> seedsfrom(const char* extension)
{
    std::vector<bytes> seeds;
    const char* build = std::getenv("TARPLAY_BUILD");
    if (!build) return seeds;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(build) / "demo", ec))
        if (e.path().extension() == extension) seeds.push_back(readfile(e.path()));
    return seeds;
}

// One mutation: flip bits, overwrite bytes with edge values, cut, extend or
// splice a block, as a coverage-blind fuzzer would.
bytes mutate(const bytes& seed, std::mt19937& rng)
{
    bytes b = seed;
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
        const uint32_t kind = rng() % 6;
        if (b.empty()) { b.push_back(static_cast<uint8_t>(rng())); continue; }
        const size_t at = rng() % b.size();
        static const uint8_t edge[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xFE, 0x3F, 0x40};
        switch (kind) {
        case 0: b[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
        case 1: b[at] = edge[rng() % 8]; break;
        case 2: b[at] = static_cast<uint8_t>(rng()); break;
        case 3: b.resize(at); break;
        case 4: b.insert(b.begin() + static_cast<long>(at), 1 + rng() % 64, static_cast<uint8_t>(rng())); break;
        case 5: {
            const size_t from = rng() % b.size();
            const size_t n = std::min<size_t>(1 + rng() % 32, b.size() - std::max(at, from));
            std::copy_n(b.begin() + static_cast<long>(from), n, b.begin() + static_cast<long>(at));
            break;
        }
        }
    }
    return b;
}

void run(int (*target)(const uint8_t*, size_t), std::vector<bytes> seeds, int iterations)
{
    std::mt19937 rng(20120708);
    for (const bytes& s : seeds) target(s.data(), s.size());
    for (int i = 0; i < iterations; ++i) {
        const bytes& seed = seeds[rng() % seeds.size()];
        const bytes input = mutate(seed, rng);
        target(input.data(), input.size());
    }
}

bytes minimalpsid()
{
    // Version 2 header, load 0x1000, init 0x1000 (RTS), play 0x1001 (RTS).
    bytes b(0x7C, 0);
    const char magic[] = "PSID";
    std::copy(magic, magic + 4, b.begin());
    b[5] = 2; b[7] = 0x7C;
    b[8] = 0x10; b[10] = 0x10; b[12] = 0x10; b[13] = 0x01;
    b[15] = 1; b[17] = 1;
    b.push_back(0x60);
    b.push_back(0x60);
    return b;
}

bytes minimalahx()
{
    // Revision 0, one position, track length 1, tracks 0 and 1, one
    // instrument with one performance-list entry, title and one name.
    bytes b = {'T', 'H', 'X', 0, 0, 0, 0x00, 0x01, 0, 0, 1, 1, 1, 0};
    for (int c = 0; c < 4; ++c) { b.push_back(1); b.push_back(0); }
    b.insert(b.end(), {0, 0, 0});             // track 0
    b.insert(b.end(), {0x60, 0x10, 0x00});    // track 1: note 24, instrument 1
    bytes ins = {64, 2, 1, 64, 1, 48, 10, 5, 0, 0, 0, 0, 8, 0, 3, 2, 8, 40, 2, 32, 1, 1};
    b.insert(b.end(), ins.begin(), ins.end());
    b.insert(b.end(), {0x04, 0x18, 0, 0});     // plist: wave 2
    const uint16_t names = static_cast<uint16_t>(b.size());
    b[4] = static_cast<uint8_t>(names >> 8);
    b[5] = static_cast<uint8_t>(names);
    for (char c : std::string("seed")) b.push_back(static_cast<uint8_t>(c));
    b.push_back(0);
    for (char c : std::string("lead")) b.push_back(static_cast<uint8_t>(c));
    b.push_back(0);
    return b;
}

bytes textdb()
{
    const std::string t =
        "; tarplay\n[Database]\n"
        "0123456789abcdef0123456789abcdef=0:37 1:02(G) 0:15\n"
        "fedcba9876543210fedcba9876543210=\n"
        "00112233445566778899aabbccddeeff=3:00 300:01\n";
    return bytes(t.begin(), t.end());
}

bytes hvsclist()
{
    const std::string t =
        "[Database]\n; /MUSICIANS/T/Tester/Tune.sid\n"
        "0123456789abcdef0123456789abcdef=0:37 1:02.500(G) 0:15.5 (M)\r\n"
        "FEDCBA9876543210FEDCBA9876543210=9999:59.999\n"
        "00112233445566778899aabbccddeeff=3:00 300:01";
    return bytes(t.begin(), t.end());
}

bytes stilnotes()
{
    const std::string t =
        "# notes\n/MUSICIANS/T/Tester/\nCOMMENT: folder\n\n"
        "/MUSICIANS/T/Tester/Tune.sid\r\n  TITLE: Tune\r\n ARTIST: Band \xE9\xFF\r\n"
        "COMMENT: first\n         second\n(#1)\n   NAME: one\n(#255)\n AUTHOR: last\n(#2)\n";
    return bytes(t.begin(), t.end());
}

TEST(Fuzz, PsidLoaderSurvivesMutatedTunes)
{
    auto seeds = seedsfrom(".sid");
    seeds.push_back(minimalpsid());
    run(fuzz::fuzzpsid, seeds, 4000);
}

TEST(Fuzz, AhxLoaderSurvivesMutatedModules)
{
    auto seeds = seedsfrom(".ahx");
    seeds.push_back(minimalahx());
    run(fuzz::fuzzahx, seeds, 20000);
}

TEST(Fuzz, SongLengthDatabaseSurvivesMutatedFiles)
{
    run(fuzz::fuzzsongdb, {textdb()}, 3000);
}

TEST(Fuzz, CollectionSongLengthListSurvivesMutatedFiles)
{
    run(fuzz::fuzzhvsc, {hvsclist()}, 3000);
}

TEST(Fuzz, CollectionNotesSurviveMutatedFiles)
{
    run(fuzz::fuzzstil, {stilnotes()}, 2000);
}

// Inputs kept under tests/fuzz/inputs/<target>: every input that once made
// a loader fail under the fuzzer, and short ones that reach each early exit
// of the file readers.
TEST(Fuzz, KeptInputsRunCleanly)
{
    const char* source = std::getenv("TARPLAY_SOURCE");
    ASSERT_NE(source, nullptr);
    const std::filesystem::path inputs = std::filesystem::path(source) / "tests" / "fuzz" / "inputs";
    const std::pair<const char*, int (*)(const uint8_t*, size_t)> targets[] = {
        {"psid", fuzz::fuzzpsid}, {"ahx", fuzz::fuzzahx}, {"songdb", fuzz::fuzzsongdb}};
    int kept = 0;
    for (const auto& [name, target] : targets) {
        for (const auto& e : std::filesystem::directory_iterator(inputs / name)) {
            const bytes b = readfile(e.path());
            target(b.data(), b.size());
            ++kept;
        }
    }
    EXPECT_GE(kept, 3);
}

TEST(Fuzz, ATuneThatNeverReturnsIsCheapToRun)
{
    // init at $1000 and play at $1003 are both JMP to themselves.
    bytes tune = minimalpsid();
    tune[13] = 0x03;
    tune.resize(0x7C);
    tune.insert(tune.end(), {0x4C, 0x00, 0x10, 0x4C, 0x03, 0x10});
    // Each run calls init three times and play a dozen times; at the full
    // budgets a run takes about 300 ms, a hundred runs half a minute.
    EXPECT_TRUE(finisheswithin(
        [&] {
            for (int i = 0; i < 100; ++i) fuzz::fuzzpsid(tune.data(), tune.size());
            return true;
        },
        std::chrono::seconds(10)));
}

}  // namespace
