// A tarplay-render worker: one program's players and renderer, rendering
// the tunes that the front end sends it one line at a time, each exactly as
// F2 records it. It is a process of its own because the players keep their
// state in globals.
//
//   tarplay-render-<program> [--format wav|flac] [--song 0|N|all]
//       [--seconds S] [--fade S] [--seed N] [--force] [--jobs FILE]
//
// Job lines (from stdin, or FILE): "<tune>\t<output path without extension>".
// Answers on stdout: "ready" once, then for every job either
// "done\t<files rendered>\t<files skipped>\t<frames rendered>\t<rate>" or
// "fail\t<message>".
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#endif

#include "app/audiolife.h"
#include "core/playback.h"
#include "core/tuneclock.h"
#include "app/program.h"
#include "common/files.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "app/tunerecord.h"
#include "screen/console.h"
#include "sink.h"
#include "synth/synth.h"

namespace {

struct settings {
    std::string format = "wav";
    int song = 0;  // 1-based; 0: the first, -1: all
    double seconds = 0;
    double fade = 0;
    bool seeded = false;
    uint32_t seed = 0;
    bool force = false;
    std::string jobs;
};

// The temporary file being written, for the interrupt handler: a Ctrl+C
// leaves neither a truncated final file nor the temporary one behind.
char partpath[4096];
volatile std::sig_atomic_t partset = 0;

extern "C" void interrupted(int sig)
{
    if (partset) std::remove(partpath);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void setpart(const std::string& name)
{
    partset = 0;
    const size_t n = std::min(name.size(), sizeof partpath - 1);
    std::memcpy(partpath, name.data(), n);
    partpath[n] = 0;
    partset = name.size() < sizeof partpath;
}

std::string lastmessage;

// One line of the protocol: no tab or line break inside a field.
std::string field(std::string s)
{
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

void answer(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

struct jobresult {
    int rendered = 0;
    int skipped = 0;
    uint64_t frames = 0;
    std::string error;  // empty: all went well
};

// The file of one subsong: a plain name when the tune has one song, else
// the song's number after it.
std::string outputname(const std::string& base, int song, int songs, const std::string& format)
{
    std::string name = base;
    if (songs > 1) {
        char num[16];
        std::snprintf(num, sizeof num, "-%02d", song + 1);
        name += num;
    }
    return name + "." + format;
}

bool loadtune(const std::string& tune, int song, const settings& s)
{
    // As F2 does it: the audio thread kept away, the noise table from the
    // seed, the voices fresh, then the player's own load.
    shell::recordprepare();
    if (s.seeded) synth::seednoise(s.seed);
    shell::recordbegin();
    core::cursong = static_cast<uint8_t>(song);
    lastmessage.clear();
    return core::currentplayer().load(tune);
}

std::string loaderror()
{
    return lastmessage.empty() ? std::string("the player could not load it") : lastmessage;
}

// Scales the frames from first on of a block for a fade that ends at end:
// down to nothing over fade frames, silence after.
void applyfade(int16_t* pcm, uint64_t first, int frames, uint64_t end, uint64_t fade)
{
    if (fade == 0 && first + static_cast<uint64_t>(frames) <= end) return;
    const uint64_t start = end > fade ? end - fade : 0;
    for (int i = 0; i < frames; ++i) {
        const uint64_t at = first + static_cast<uint64_t>(i);
        if (at < start) continue;
        const int64_t left = at < end ? static_cast<int64_t>(end - at) : 0;
        const int64_t span = static_cast<int64_t>(end - start);
        for (int c = 0; c < 2; ++c) {
            int16_t& v = pcm[2 * i + c];
            v = static_cast<int16_t>(span > 0 ? v * left / span : 0);
        }
    }
}

// The temporary files of final that a run which crashed left beside it
// (F2's names: final, ".part", the writer's process id, "-", a counter): they
// go once final is complete, unless their writer still runs.
void removeleftovers(const std::string& final)
{
#ifndef _WIN32
    namespace fs = std::filesystem;
    const fs::path path(final);
    const std::string prefix = path.filename().string() + ".part";
    std::error_code ec;
    fs::directory_iterator it(path.parent_path().empty() ? fs::path(".") : path.parent_path(), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const std::string rest = name.substr(prefix.size());
        const size_t dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos || dash > 9 ||
            rest.find_first_not_of("0123456789-") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::atol(rest.substr(0, dash).c_str()));
        if (kill(pid, 0) != 0 && errno == ESRCH) {
            std::error_code re;
            fs::remove(it->path(), re);
        }
    }
#else
    (void)final;
#endif
}

// Renders the loaded tune's current subsong to final, through a temporary
// file beside it. False with error set on a failure.
bool rendersong(const std::string& final, const settings& s, uint64_t& frames, std::string& error)
{
    if (s.seconds > 0) core::clocksetlength(s.seconds);
    const uint64_t length = core::clocklengthframes();
    const uint64_t fade = s.fade > 0 ? std::min<uint64_t>(length, static_cast<uint64_t>(s.fade * synth::samplerate))
                                     : 0;

    // The folder of an output folder's mirror appears with its first file.
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::path(final).parent_path();
    if (!dir.empty()) std::filesystem::create_directories(dir, ec);
    std::string part;
    std::FILE* f = createbeside(final, part);
    if (!f) {
        error = final + ": " + std::strerror(errno);
        return false;
    }
    setpart(part);
    std::unique_ptr<render::sink> out = render::makesink(s.format);
    if (!out->open(f, synth::samplerate)) {
        error = final + ": " + out->error();
        std::remove(part.c_str());
        partset = 0;
        return false;
    }

    alignas(4) static uint8_t block[shell::recordblockbytes];
    const uint64_t limit = shell::recordstart();
    uint64_t written = 0;
    for (bool last = false; !last;) {
        const uint64_t first = written;
        last = shell::recordnextblock(block, written, limit);
        int16_t* pcm = reinterpret_cast<int16_t*>(block);
        if (s.fade > 0) applyfade(pcm, first, shell::recordblockbytes / 4, length, fade);
        if (!out->write(pcm, shell::recordblockbytes / 4)) break;
    }
    const bool ok = out->close();
    if (!ok || !replacefile(part, final)) {
        error = final + ": " + (ok ? std::strerror(errno) : out->error());
        std::remove(part.c_str());
        partset = 0;
        return false;
    }
    partset = 0;
    removeleftovers(final);
    frames += written;
    return true;
}

jobresult runjob(const std::string& tune, const std::string& base, const settings& s)
{
    jobresult r;
    core::filename = tune;
    const std::string leaf = std::filesystem::path(tune).filename().string();
    const size_t dot = leaf.rfind('.');
    core::songname = leaf.substr(0, dot);
    std::string ext = dot == std::string::npos ? std::string() : leaf.substr(dot);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    core::songext = ext;
    core::curplayer = 255;
    core::chooseplayer();
    if (core::curplayer >= core::playerslots || !core::players[core::curplayer].active ||
        core::players[core::curplayer].ext != ext) {
        r.error = "no player plays \"" + ext + "\" files";
        return r;
    }

    // A first load tells how many subsongs there are.
    if (!loadtune(tune, 0, s)) {
        r.error = loaderror();
        return r;
    }
    const int songs = core::lastsong + 1;
    int from = 0, to = 0;
    if (s.song < 0) {
        to = songs - 1;
    } else if (s.song > 0) {
        if (s.song > songs) {
            r.error = "no song " + std::to_string(s.song) + " (it has " + std::to_string(songs) + ")";
            return r;
        }
        from = to = s.song - 1;
    }
    for (int song = from; song <= to; ++song) {
        const std::string final = outputname(base, song, songs, s.format);
        std::error_code ec;
        if (!s.force && std::filesystem::exists(final, ec)) {
            ++r.skipped;
            continue;
        }
        if (!loadtune(tune, song, s)) {
            r.error = loaderror();
            return r;
        }
        std::string error;
        if (!rendersong(final, s, r.frames, error)) {
            r.error = error;
            return r;
        }
        ++r.rendered;
    }
    return r;
}

[[noreturn]] void usage()
{
    std::cerr << "usage: tarplay-render-<program> [--format wav|flac] [--song 0|N|all] [--seconds S] "
                 "[--fade S] [--seed N] [--force] [--jobs FILE]\n"
                 "(a worker of tarplay-render, which runs it)\n";
    std::exit(2);
}

settings parseargs(int argc, char** argv)
{
    settings s;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--force") {
            s.force = true;
            continue;
        }
        if (i + 1 >= argc) usage();
        const std::string v = argv[++i];
        if (a == "--format" && (v == "wav" || (v == "flac" && render::flacavailable))) s.format = v;
        else if (a == "--song") s.song = v == "all" ? -1 : std::atoi(v.c_str());
        else if (a == "--seconds") s.seconds = std::atof(v.c_str());
        else if (a == "--fade") s.fade = std::atof(v.c_str());
        else if (a == "--seed") s.seeded = true, s.seed = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        else if (a == "--jobs") s.jobs = v;
        else usage();
    }
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    const settings s = parseargs(argc, argv);
    std::signal(SIGINT, interrupted);
    std::signal(SIGTERM, interrupted);

    // The program's start-up, in its order, without a window or a device.
    synth::synthinit();
    core::playersinit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    synth::samplerate = synth::nativerate;
    synth::buildtables();
    program::startup();
    screen::messagesink = [](std::string_view msg, uint8_t, bool) { lastmessage = std::string(msg); };

    std::ifstream jobfile;
    if (!s.jobs.empty()) {
        jobfile.open(s.jobs);
        if (!jobfile) {
            std::cerr << s.jobs << ": cannot be read\n";
            return 1;
        }
    }
    std::istream& in = s.jobs.empty() ? std::cin : jobfile;
    answer("ready");
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            answer("fail\tmalformed job");
            continue;
        }
        const jobresult r = runjob(line.substr(0, tab), line.substr(tab + 1), s);
        if (!r.error.empty())
            answer("fail\t" + field(r.error));
        else
            answer("done\t" + std::to_string(r.rendered) + "\t" + std::to_string(r.skipped) + "\t" +
                   std::to_string(r.frames) + "\t" + std::to_string(synth::samplerate));
    }
    return 0;
}
