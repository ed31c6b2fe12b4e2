#include "app/helpscreen.h"

#include "app/playback.h"
#include "screen/console.h"
#include "screen/video.h"

namespace shell {

namespace {

// Six lines of 79 columns in the console's code page; the build tag closes
// the last one.
const char* const banner[6] = {
    "     \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB    \xDB\xDB\xDB\xDB    \xDB\xDB\xDB\xDB\xDB\xDB    \xDB\xDB\xDB\xDB\xDB\xDB    \xDB\xDB          \xDB\xDB\xDB\xDB    \xDB\xDB    \xDB\xDB      ",
    "      \xB0\xDB\xDB\xDB\xDB\xB0\xB0\xB0 \xDB\xDB \xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0       \xDB\xDB \xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0   \xDB\xDB\xB0     ",
    "       \xDB\xDB\xDB\xDB\xB0   \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xB0 \xDB\xDB\xDB\xDB\xDB\xDB \xB0\xB0 \xDB\xDB\xDB\xDB\xDB\xDB \xB0\xB0 \xDB\xDB\xB0       \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xB0  \xB0\xDB\xDB\xDB\xDB \xB0\xB0     ",
    "       \xDB\xDB\xDB\xDB\xB0   \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB\xB0 \xDB\xDB\xB0\xB0\xDB\xDB\xB0   \xDB\xDB\xB0\xB0\xB0\xB0\xB0   \xDB\xDB\xB0       \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB\xB0   \xDB\xDB\xDB\xDB\xB0       ",
    "       \xDB\xDB\xDB\xDB\xB0   \xDB\xDB\xB0   \xDB\xDB\xB0 \xDB\xDB\xB0  \xB0\xDB\xDB  \xDB\xDB\xB0       \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB  \xDB\xDB\xB0   \xDB\xDB\xB0   \xDB\xDB\xDB\xDB\xB0       ",
    "\xCD\xCD\xCD tarlin synth sound player: SID + AHX, re-voiced \xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD b20120708",
};

const char* const keylines[] = {
    "Keyz: ",
    "          <H>: this help screen",
    "          <T>: swap src/dst wave",
    "        <TAB>: switch between note display/oscilloscope",
    "      <I/O/P>: mute channel 1/2/3 (only on SID)",
    "        <Q/W>: clear  source/dest waveform",
    "        <E/R>: random source/dest waveform",
    "  <DOWN>/<UP>: next/prev subsong",
    "      <MOUSE>: modify waveform",
    "Keyz in Selector:",
    "         <F2>: save song as .wav",
    "        <A-Z>: quick select",
};

}  // namespace

void helpscreen()
{
    using namespace screen;
    for (const char* line : banner) conwriteln(line);
    connewline();
    for (const char* line : keylines) conwriteln(line);
    connewline();
    conwriteln("Plugins found:");
    for (const playerrec& p : players)
        if (p.active) conwriteln("  " + p.ext + "|" + p.info);
    presentframe();
}

}  // namespace shell
