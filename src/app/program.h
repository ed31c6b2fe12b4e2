// What each program brings to the shell that all of them share. Every
// program's main module (src/app/<program>/) defines these; the program is
// chosen by what is linked, never by a flag tested at run time.
#pragma once

#include <SDL.h>

#include <span>

namespace program {

// Window caption and icon title.
extern const char* const caption;
extern const char* const icontitle;
// The title line's text between its opening blocks and its closing fade.
extern const char* const titletext;
// The build tag that closes the help screen's banner.
extern const char* const buildtag;
// The help screen's lines between the banner and the plug-in list.
std::span<const char* const> helplines();

// The program's own last step of start-up, once the audio device runs.
void startup();

// The play screen's keys and mouse: every key press and mouse event goes here.
void playkey(const SDL_keysym& key);
void playmouse(const SDL_Event& event);

// The oscilloscope view: what is drawn before the trace and what over it.
void scopeunder();
void scopeover();

}  // namespace program
