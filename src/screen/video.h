// The video surface, the 3-3-2 palette, glyph smoothing, the off-screen frame
// and its presentation, and the event poll that every screen loop uses.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

namespace screen {

struct tchardata {
    uint16_t code = 0;  // 0..255 font glyphs, 256..264 bar codes
    uint8_t attr = 0;   // low nibble foreground, high nibble background
    bool operator==(const tchardata&) const = default;
};

constexpr int consolecols = 80;
constexpr int consolemaxrows = 60;
using tconsoletype = std::array<tchardata, consolecols * consolemaxrows>;

constexpr int framewidth = 640;
constexpr int frameheight = 480;

extern uint8_t screenrows;                       // 50
extern bool fullscreen;
extern SDL_Surface* surface;
extern SDL_Color palette[256];
extern const uint8_t colourmap[16];
extern uint8_t blendtab[5][16][16];
extern uint8_t smoothtab[256][8][8];             // glyph, column, row: coverage 0..4
extern std::array<uint8_t, framewidth * frameheight> framebuf;
extern tconsoletype textscreen;
extern tconsoletype shownscreen;
extern SDL_Event event;

// Unit initialisation: font copy, palette, blendtab, smoothtab. No window.
void screeninit();

// Rebuilds smoothtab from the working font (screeninit does this; tests that
// draw their own glyphs into font call it again).
void buildsmoothtab();

// Back to the start-up state for tests: tables rebuilt, buffers and the
// console cleared, messagesink unset. The surface is left alone.
void screenreset();

// Inverts fullscreen if toggle, then opens the 640 x rows*8 8-bit surface
// and installs the palette; surface is null when SDL refuses.
void setvideomode(bool toggle);

// Redraws the changed cells into framebuf and copies it to the surface
// (when there is one).
void presentframe();

// Takes at most one event into event; true for one that ends a wait (a key
// or mouse-button press; in tarplay_pd a key press only).
bool pollkey();

// Low byte of the key symbol in event.
uint8_t lastkey();

// Palette mixing on 3-3-2 indices.
uint8_t mixhalf(uint8_t x, uint8_t y);
uint8_t mixquarter(uint8_t x, uint8_t y);  // one quarter x, three quarters y

}  // namespace screen
