// The recorder's whole loop timed as a user meets it: F2's rendering, file
// writes and progress box, for a fixed length of any tune.
//   bench_record <tune> <seconds>
// Prints "<wall seconds> <processor seconds> <multiple of real time>", the
// multiple taken from the processor time, which other work on a busy
// machine skews less than the wall clock. With a DISPLAY the box is
// presented in a real window, as in the program.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/playback.h"
#include "app/wavrecord.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/synth.h"

namespace {

uint64_t lengthframes = 0;
bool (*tuneload)(const std::string&) = nullptr;

// The tune's own length gives way to the one asked for, so that every tune
// records for the same time.
bool loadwithlength(const std::string& name)
{
    const bool ok = tuneload(name);
    core::songframes = lengthframes;
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_record <tune> <seconds>\n");
        return 2;
    }
    const std::filesystem::path tune = std::filesystem::absolute(argv[1]);
    const double seconds = std::atof(argv[2]);
    synth::synthinit();
    core::playersinit();
    screen::screeninit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    screen::messagesink = [](std::string_view, uint8_t, bool) {};
    if (std::getenv("DISPLAY") && SDL_Init(SDL_INIT_VIDEO) == 0) screen::setvideomode(false);

    // The recording goes to the working folder, next to the song-length list.
    std::filesystem::current_path(tune.parent_path());
    core::filename = tune.filename().string();
    core::songname = tune.stem().string();
    core::songext = tune.extension().string();
    for (auto& c : core::songext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    core::chooseplayer();
    core::cursong = 0;
    core::playerrec& player = core::players[core::curplayer];
    tuneload = player.load;
    player.load = loadwithlength;
    lengthframes = static_cast<uint64_t>(seconds * synth::samplerate);

    const auto start = std::chrono::steady_clock::now();
    const std::clock_t startcpu = std::clock();
    const bool recorded = shell::recordwav();
    const double cpu = static_cast<double>(std::clock() - startcpu) / CLOCKS_PER_SEC;
    const double taken = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::remove((core::songname + ".wav").c_str());
    if (!recorded) {
        std::fprintf(stderr, "bench_record: %s did not record\n", argv[1]);
        return 1;
    }
    std::printf("%.3f %.3f %.0f\n", taken, cpu, seconds / cpu);
    SDL_Quit();
    return 0;
}
