// sidrender: plays a PSID tune through the real SID player and synth into
// a WAV file, without the audio device, and prints the peak and RMS level.
//
//   sidrender TUNE.sid OUT.wav [SECONDS [SUBSONG [VOICES]]]
//
// Without SECONDS (or with 0) it renders the player's own length, at most
// ten minutes. VOICES lists the voices to hear, e.g. 02 for voices 0 and 2
// alone; the others are muted. The song-length database is read from the
// working directory, as the player does.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/audio.h"
#include "app/playback.h"
#include "players/sid/sidplayer.h"
#include "screen/console.h"
#include "synth/synth.h"

namespace {

void put32(std::ofstream& out, uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}

void put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 6) {
        std::cerr << "usage: sidrender TUNE.sid OUT.wav [SECONDS [SUBSONG [VOICES]]]\n";
        return 2;
    }
    synth::synthinit();
    synth::samplerate = 44100;
    synth::buildtables();
    for (auto& w : synth::waveparams)
        w = 128;
    shell::playersinit();
    sid::sidmoduleinit();
    screen::messagesink = [](std::string_view msg, uint8_t, bool) {
        std::cerr << "player: " << msg << "\n";
    };
    int slot = -1;
    for (int s = shell::playerslots - 1; s >= 0; s--)
        if (shell::players[s].active && shell::players[s].ext == ".SID")
            slot = s;
    if (slot < 0) {
        std::cerr << "no SID player registered\n";
        return 1;
    }
    shell::curplayer = uint8_t(slot);
    shell::cursong = uint8_t(argc > 4 ? std::atoi(argv[4]) : 0);
    if (!shell::players[slot].load(argv[1]))
        return 1;

    uint64_t frames = shell::songframes;
    if (argc > 3 && std::atof(argv[3]) > 0)
        frames = uint64_t(std::atof(argv[3]) * synth::samplerate);
    frames = std::min<uint64_t>(frames, 600ull * synth::samplerate);

    if (argc > 5) {
        const std::string heard = argv[5];
        for (int v = 0; v < 3; v++)
            synth::voices[v].muted = heard.find(char('0' + v)) == std::string::npos;
    }
    shell::audioreset();
    shell::renderblockcountdown = 0;
    shell::playedframes = 0;
    std::vector<int16_t> pcm(frames * 2);
    const int block = 2048;
    for (uint64_t done = 0; done < frames; done += block) {
        int n = int(std::min<uint64_t>(block, frames - done));
        shell::renderblock(nullptr, reinterpret_cast<uint8_t*>(&pcm[done * 2]), n * 4);
    }

    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    const uint32_t bytes = uint32_t(pcm.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);
    put16(out, 2);
    put32(out, synth::samplerate);
    put32(out, synth::samplerate * 4u);
    put16(out, 4);
    put16(out, 16);
    out.write("data", 4);
    put32(out, bytes);
    out.write(reinterpret_cast<const char*>(pcm.data()), std::streamsize(bytes));
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }

    int peak = 0;
    double sum = 0;
    for (int16_t s : pcm) {
        peak = std::max(peak, std::abs(int(s)));
        sum += double(s) * s;
    }
    std::printf("%s: %.1f s (tick rate %d), peak %d, rms %.0f\n", argv[2], double(frames) / synth::samplerate,
                int(shell::tickrate), peak, pcm.empty() ? 0.0 : std::sqrt(sum / double(pcm.size())));
    return 0;
}
