// tunerender: plays a tune through the real player table and synth into a
// WAV file, without the audio device or a window, and prints the peak and
// RMS level. For listening to our demo tunes while writing them.
//
//   tunerender TUNE OUT.wav [SECONDS [SUBSONG [VOICES]]]
//
// The player is chosen by the tune's extension, as the selector does.
// Without SECONDS (or with 0) it renders the player's own length, at most ten
// minutes. VOICES lists the voices to hear, counted from 1 as on the play
// screen (e.g. 13 for voices 1 and 3 alone); the others are muted. A SID
// tune's length comes from the song-length database in the working directory.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "common/ascii.h"
#include "core/audio.h"
#include "core/playback.h"
#include "app/program.h"
#include "app/wavrecord.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "screen/console.h"
#include "selector/dirlist.h"
#include "synth/synth.h"

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 6) {
        std::cerr << "usage: tunerender TUNE OUT.wav [SECONDS [SUBSONG [VOICES]]]\n";
        return 2;
    }
    synth::synthinit();
    core::playersinit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    program::startup();
    screen::messagesink = [](std::string_view msg, uint8_t, bool) { std::cerr << "player: " << msg << "\n"; };

    const std::string ext = upcaseascii(selector::splitpath(argv[1]).ext);
    core::songext = ext;
    core::curplayer = 255;
    core::chooseplayer();
    if (core::curplayer >= core::playerslots || !core::players[core::curplayer].active) {
        std::cerr << argv[1] << ": no player claims \"" << ext << "\"\n";
        return 1;
    }
    core::cursong = static_cast<uint8_t>(argc > 4 ? std::atoi(argv[4]) : 0);
    if (!core::players[core::curplayer].load(argv[1])) return 1;

    uint64_t frames = core::songframes;
    if (argc > 3 && std::atof(argv[3]) > 0) frames = static_cast<uint64_t>(std::atof(argv[3]) * synth::samplerate);
    frames = std::min<uint64_t>(frames, 600ull * synth::samplerate);
    if (argc > 5) {
        const std::string heard = argv[5];
        for (int v = 0; v < synth::voicecount; ++v)
            synth::voicemute(v, heard.find(static_cast<char>('1' + v)) == std::string::npos);
    }

    core::audioreset();
    core::recording = false;
    core::playedframes = 0;
    std::vector<int16_t> pcm(frames * 2);
    constexpr uint64_t block = 4096;
    for (uint64_t done = 0; done < frames; done += block) {
        const uint64_t n = std::min(block, frames - done);
        core::renderblock(nullptr, reinterpret_cast<uint8_t*>(&pcm[done * 2]), static_cast<int>(n * 4));
    }

    std::FILE* f = std::fopen(argv[2], "wb+");
    const size_t bytes = pcm.size() * sizeof(int16_t);
    const bool written = f && shell::writewavheader(f) && std::fwrite(pcm.data(), 1, bytes, f) == bytes &&
                         shell::patchwavsizes(f);
    if (!f || std::fclose(f) != 0 || !written) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }

    int peak = 0;
    double sum = 0;
    for (int16_t s : pcm) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
        sum += static_cast<double>(s) * s;
    }
    std::printf("%s: %.1f s (tick rate %d), peak %d, rms %.0f\n", argv[2],
                static_cast<double>(frames) / synth::samplerate, static_cast<int>(core::tickrate), peak,
                pcm.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(pcm.size())));
    return 0;
}
