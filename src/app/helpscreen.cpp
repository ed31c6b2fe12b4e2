#include "app/helpscreen.h"

#include <string>

#include "core/playback.h"
#include "app/program.h"
#include "screen/console.h"
#include "screen/video.h"

namespace shell {

namespace {

// Six lines of 79 columns in the console's code page; the program's build
// tag closes the last one.
const char* const banner[5] = {
    "     \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB    \xDB\xDB\xDB\xDB    \xDB\xDB\xDB\xDB\xDB\xDB    \xDB\xDB\xDB\xDB\xDB\xDB    \xDB\xDB          \xDB\xDB\xDB\xDB    \xDB\xDB    \xDB\xDB      ",
    "      \xB0\xDB\xDB\xDB\xDB\xB0\xB0\xB0 \xDB\xDB \xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0       \xDB\xDB \xB0\xB0\xB0\xDB\xDB  \xDB\xDB\xB0   \xDB\xDB\xB0     ",
    "       \xDB\xDB\xDB\xDB\xB0   \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xB0 \xDB\xDB\xDB\xDB\xDB\xDB \xB0\xB0 \xDB\xDB\xDB\xDB\xDB\xDB \xB0\xB0 \xDB\xDB\xB0       \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xB0  \xB0\xDB\xDB\xDB\xDB \xB0\xB0     ",
    "       \xDB\xDB\xDB\xDB\xB0   \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB\xB0 \xDB\xDB\xB0\xB0\xDB\xDB\xB0   \xDB\xDB\xB0\xB0\xB0\xB0\xB0   \xDB\xDB\xB0       \xDB\xDB\xB0\xB0\xB0\xB0\xDB\xDB\xB0   \xDB\xDB\xDB\xDB\xB0       ",
    "       \xDB\xDB\xDB\xDB\xB0   \xDB\xDB\xB0   \xDB\xDB\xB0 \xDB\xDB\xB0  \xB0\xDB\xDB  \xDB\xDB\xB0       \xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB  \xDB\xDB\xB0   \xDB\xDB\xB0   \xDB\xDB\xDB\xDB\xB0       ",
};
const char* const bannerlast =
    "\xCD\xCD\xCD tarlin synth sound player: SID + AHX, re-voiced \xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD ";

// The keys every program shares that came after the program's own list:
// below the plug-ins, so that what the screen showed before stays in place.
const char* const sharedkeys[] = {
    "          <C>: continuous play on/off (in the player)",
    "  <ALT>+<1-4>: window scale 1x-4x, <ALT>+<ENTER>: full screen",
};

}  // namespace

void helpscreen()
{
    using namespace screen;
    for (const char* line : banner) conwriteln(line);
    conwriteln(std::string(bannerlast) + program::buildtag);
    connewline();
    for (const char* line : program::helplines()) conwriteln(line);
    connewline();
    conwriteln("Plugins found:");
    for (const core::playerrec& p : core::players)
        if (p.active) conwriteln("  " + p.ext + "|" + p.info);
    connewline();
    for (const char* line : sharedkeys) conwriteln(line);
    presentframe();
}

}  // namespace shell
