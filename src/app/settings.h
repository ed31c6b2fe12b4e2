// What the programs remember between runs, in one small text file:
// $XDG_CONFIG_HOME/tarplay/settings (~/.config/tarplay/settings without it),
// %APPDATA%\tarplay\settings on Windows. One "name=value" a line; "#" starts
// a comment. A missing, unreadable or garbled file means defaults; a line
// that cannot be read keeps that setting's default; names we do not know are
// passed over, so that an older program reads a newer file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace settings {

struct tsettings {
    int scale = 0;            // the window's scale, 1 to 4; 0: never chosen
    bool fullscreen = false;
    bool continuous = false;  // continuous play
    bool operator==(const tsettings&) const = default;
};

// What the program runs with: read at start-up, changed by the keys.
extern tsettings current;

// The settings file; empty when the environment names no folder for it.
std::filesystem::path settingsfile();

tsettings parsesettings(std::string_view text);
std::string formatsettings(const tsettings& s);

// current := the file's settings, or the defaults when it cannot be read.
void loadsettings();
// Writes current whole to a temporary file beside the settings file and
// renames it over the old one; false (nothing changed) when that cannot be
// done, for instance in a read-only home.
bool savesettings();

}  // namespace settings
