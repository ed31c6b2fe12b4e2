// Rendering the chosen tune into <songname>.wav as fast as the renderer
// goes, with a progress box, ending at the tune's length or at a key press.
#include "app/wavrecord.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/audiolife.h"
#include "app/recordstyle.h"
#include "core/playback.h"
#include "core/tuneclock.h"
#include "app/tunerecord.h"
#include "app/playscreen.h"
#include "common/files.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/synth.h"

namespace shell {

namespace {

constexpr int blockbytes = recordblockbytes;
constexpr int headerbytes = 44;
// Sending the screen to the display costs as much as rendering a block: the
// box is presented only when its digits or bar moved, 50 times a second at
// most.
constexpr uint32_t presentgapms = 20;
uint8_t renderbuf[blockbytes];

bool put(std::FILE* f, const void* data, size_t n)
{
    return std::fwrite(data, 1, n, f) == n;
}

bool put16(std::FILE* f, uint16_t v)
{
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    return put(f, b, 2);
}

bool put32(std::FILE* f, uint32_t v)
{
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    return put(f, b, 4);
}

}  // namespace

bool writewavheader(std::FILE* f)
{
    const uint32_t rate = synth::samplerate;
    return put(f, "RIFF", 4) && put32(f, 0) && put(f, "WAVE", 4) && put(f, "fmt ", 4) && put32(f, 16) &&
           put16(f, 1) && put16(f, 2) && put32(f, rate) && put32(f, rate * 4) && put16(f, 4) && put16(f, 16) &&
           put(f, "data", 4) && put32(f, 0);
}

bool patchwavsizes(std::FILE* f)
{
    if (std::fflush(f) != 0 || std::fseek(f, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f);
    if (size < headerbytes) return false;
    return std::fseek(f, 4, SEEK_SET) == 0 && put32(f, static_cast<uint32_t>(size - 8)) &&
           std::fseek(f, 40, SEEK_SET) == 0 && put32(f, static_cast<uint32_t>(size - 44));
}

namespace {

// A file that cannot be written is the user's to fix (a read-only folder, a
// full disk): say so and go back to the selector with the program intact.
// The unfinished recording goes; a WAV file of the same name from before is
// never touched.
bool writefailed(std::FILE* f, const std::string& partname, const std::string& wavname, int error)
{
    recordend();
    if (f) std::fclose(f);
    if (!partname.empty()) std::remove(partname.c_str());
    std::string msg = "?WAV: " + shortname(wavname) + ": " + std::strerror(error) + "  ERROR";
    if (msg.size() > 78) msg.resize(78);
    screen::curattr = 7;
    screen::messagebox(msg, 0x4F, true);
    return false;
}

// The percentage in the box's first three columns, and what the program's
// style adds to it.
void recordprogress(int boxx, int len)
{
    const core::clockreading at = core::clockread();
    // With no known length the first block is the whole recording.
    const uint8_t percent = static_cast<uint8_t>(at.length ? 100 * at.elapsed / at.length : 100);
    putboxcell(boxx + 1, 25, static_cast<uint16_t>('0' + percent / 100));
    putboxcell(boxx + 2, 25, static_cast<uint16_t>('0' + percent / 10 % 10));
    putboxcell(boxx + 3, 25, static_cast<uint16_t>('0' + percent % 10));
    recordbar(boxx, len, at);
}

}  // namespace

void putboxcell(int x, int y, uint16_t code)
{
    if (x >= 0 && x < screen::consolecols && y >= 0 && y < screen::screenrows) screen::conputchar(x, y, code);
}

bool recordwav()
{
    recordprepare();

    const core::playerrec& player = core::currentplayer();
    if (!player.load) return false;
    recordbegin();
    if (!player.load(core::filename)) return false;

    const std::string wavname = core::songname + ".wav";
    const std::string msg = "000%|Recording " + core::filename + " to " + wavname;
    const int len = static_cast<int>(msg.size());
    const int boxx = 39 - len / 2;
    screen::messagebox(msg, 0x2F, false);
    screen::curattr = 7;

    // The recording grows under a name of its own beside the final one and
    // takes that name only when it is complete.
    std::string partname;
    std::FILE* f = createbeside(wavname, partname);
    if (!f) return writefailed(nullptr, "", wavname, errno);
    // Fewer, larger writes: the recording grows by megabytes a second.
    std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
    if (!writewavheader(f)) {
        return writefailed(f, partname, wavname, errno);
    }

    const uint64_t limit = recordstart();
    screen::curattr = 0x2F;

    uint64_t written = 0;
    uint32_t presentedat = SDL_GetTicks() - presentgapms;
    for (bool last = false; !last;) {
        last = recordnextblock(renderbuf, written, limit);
        if (!put(f, renderbuf, blockbytes)) {
            return writefailed(f, partname, wavname, errno);
        }
        recordprogress(boxx, len);
        const uint32_t now = SDL_GetTicks();
        if (now - presentedat >= presentgapms && screen::textscreen != screen::shownscreen) {
            screen::presentframe();
            presentedat = now;
        }
        if (recordstopped()) {
            core::quitplay = true;
            last = true;
        }
    }

    recordend();
    screen::curattr = 7;
    if (!patchwavsizes(f)) {
        return writefailed(f, partname, wavname, errno);
    }
    if (std::fclose(f) != 0) {
        return writefailed(nullptr, partname, wavname, errno);
    }
    if (!replacefile(partname, wavname)) {
        return writefailed(nullptr, partname, wavname, errno);
    }
    screen::messagebox("Recording Done", 0x2F, false);
    return true;
}

}  // namespace shell
