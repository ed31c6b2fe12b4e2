#include "fuzz/fuzztargets.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/playback.h"
#include "portable.h"
#include "players/ahx/ahxplayer.h"
#include "players/ahx/ahxsong.h"
#include "players/sid/hvscdb.h"
#include "players/sid/psid.h"
#include "players/sid/sidplayer.h"
#include "players/sid/songdb.h"
#include "players/sid/stil.h"
#include "screen/console.h"
#include "synth/synth.h"

namespace fuzz {

namespace {

// Every target works in a scratch folder of its own, so that the song-length
// files it writes never meet a real database.
void setuponce()
{
    static bool done = false;
    if (done) return;
    done = true;
    std::error_code ec;
    std::filesystem::current_path(portable::makescratchdir("tarplay-fuzz."), ec);
    if (ec) std::abort();
    synth::synthinit();
    core::playersinit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    screen::messagesink = [](std::string_view, uint8_t, bool) {};
    // A tune whose init or play never returns would spend a million
    // instructions per call; a few thousand reach the same code.
    sid::instructioncap = 8192;
}

void writefile(const char* name, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(name, "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

// A few ticks of the loaded tune through the tick contract: plain ticks, a
// subsong change, a skip and a restart.
template <class Tick>
void playsome(Tick tick, uint8_t selector)
{
    core::recording = false;
    for (int i = 0; i < 8; ++i) tick();
    core::cursong = static_cast<uint8_t>(selector % (core::lastsong + 1));
    tick();
    core::tickpos = core::tickpos + 5;
    tick();
    core::tickpos = 0;
    tick();
}

}  // namespace

// Every target hands the input to the program as a file, so that the same
// reading code runs as for a user's tune.
int fuzzpsid(const uint8_t* data, size_t size)
{
    setuponce();
    writefile("fuzz.sid", data, size);
    core::cursong = 0;
    if (sid::sidload("fuzz.sid")) playsome(sid::sidupdate, size ? data[size - 1] : 0);
    return 0;
}

int fuzzahx(const uint8_t* data, size_t size)
{
    setuponce();
    writefile("fuzz.ahx", data, size);
    core::cursong = size > 13 ? data[13] : 0;
    if (ahx::ahxload("fuzz.ahx")) playsome(ahx::ahxtick, size ? data[size - 1] : 0);
    return 0;
}

int fuzzsongdb(const uint8_t* data, size_t size)
{
    setuponce();
    std::array<uint8_t, 16> digest{};
    for (size_t i = 0; i < 16 && i + 2 < size; ++i) digest[i] = data[i + 2];

    // The input as the text database, converted and looked up.
    writefile("Songlengths.txt", data, size);
    std::remove("Songlengths.db");
    sid::songdbreset();
    sid::songdbstartup();
    sid::findsonglengths(digest);

    // The same input as a binary database.
    writefile("Songlengths.db", data, size);
    sid::songdbreset();
    sid::loadsongdb();
    sid::findsonglengths(digest);
    sid::freesongdb();
    sid::songdbreset();
    return 0;
}

int fuzzhvsc(const uint8_t* data, size_t size)
{
    setuponce();
    std::array<uint8_t, 16> digest{};
    for (size_t i = 0; i < 16 && i < size; ++i) digest[i] = data[i];

    // The input as the collection's list, read and looked up.
    writefile("Songlengths.md5", data, size);
    sid::hvscreset();
    sid::hvscstartup();
    if (sid::hvscfind(digest) || (!sid::hvscdb.tunes.empty() && sid::hvscfind(sid::hvscdb.tunes.back().digest))) {
        uint64_t frames = 0;
        for (uint16_t song = 0; song < 300; ++song) sid::hvscsongframes(song, 44100, frames);
    }
    sid::hvscreset();
    return 0;
}

int fuzzstil(const uint8_t* data, size_t size)
{
    setuponce();
    // The input as the collection's notes in the start folder, indexed and
    // asked for a tune it may or may not list, and every entry's notes
    // shown for each subsong.
    writefile("STIL.txt", data, size);
    sid::stilreset();
    sid::stilstartup();
    core::tunenotes = sid::stilnotes("MUSICIANS/T/Tester/Tune.sid");
    for (const auto& [key, entry] : sid::stil.entries) {
        core::tunenotes = sid::stilnotes(key.size() > 1 ? key.substr(1) : key);
        for (uint16_t song = 0; song < 258; ++song) core::notesline(static_cast<uint8_t>(song));
    }
    core::tunenotes = {};
    sid::stilreset();
    return 0;
}

}  // namespace fuzz
