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

// How the 640 x rows*8 screen sits on the surface: every screen pixel a
// scale x scale block, the screen's top left corner at (x, y).
struct tplacement {
    int scale = 1;
    int x = 0;
    int y = 0;
    bool operator==(const tplacement&) const = default;
};
extern tplacement placement;

// The window's scale, 1 to 4 (the window is 640*scale wide).
constexpr int maxscale = 4;
extern int windowscale;

// The desktop's size as SDL reports it before the first video mode is set
// (readdesktop); 0 while unknown.
extern int desktopwidth;
extern int desktopheight;
void readdesktop();
// The largest scale whose window fits in three quarters of the desktop; 1
// when the desktop is unknown or small.
int fittingscale();

// Inverts fullscreen if toggle, then opens the surface and installs the
// palette; surface is null when SDL refuses. In a window: the screen at
// windowscale. Full screen, with the desktop's size known: the desktop's
// own resolution (no change of video mode), the screen scaled by the
// largest whole factor that fits and centred on black; unknown: the
// screen's own size.
void setvideomode(bool toggle);

// The keys that change the view, wherever they are pressed: Alt+Enter
// switches full screen, Alt+1 to Alt+4 choose the window's scale, and the
// other Alt+digits do nothing (they must reach no screen's own keys). true
// when the key was one of them.
bool viewkey(const SDL_keysym& key);
// Called after the view keys changed the view (the shell remembers it);
// scalechosen: the user chose the window's scale.
extern void (*viewchanged)(bool scalechosen);

// Maps a mouse event's position on the surface back to the screen's
// pixels; false for a position outside the screen (the black border),
// which the event loops then pass over. Other events are left alone.
bool mapmouse(SDL_Event& event);

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
