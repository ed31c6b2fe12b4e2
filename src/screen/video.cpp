#include "screen/video.h"

#include <algorithm>
#include <cstring>

#include "screen/console.h"
#include "screen/font.h"
#include "screen/videoflavour.h"

namespace screen {

uint8_t screenrows = 50;
bool fullscreen = false;
SDL_Surface* surface = nullptr;
SDL_Color palette[256];
const uint8_t colourmap[16] = {0,   2,   16,  18,  128, 130, 144, 182,
                               109, 3,   28,  31,  224, 227, 252, 255};
uint8_t blendtab[5][16][16];
uint8_t smoothtab[256][8][8];
std::array<uint8_t, framewidth * frameheight> framebuf{};
tconsoletype textscreen{};
tconsoletype shownscreen{};
SDL_Event event;
tplacement placement;
int windowscale = 1;
int desktopwidth = 0;
int desktopheight = 0;
void (*viewchanged)(bool scalechosen) = nullptr;

namespace {

// Pixel rows of the bar cells 256..264: 0 to 8 lit columns from the left.
constexpr uint8_t barrows[9] = {0x00, 0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF};


struct rgb332 {
    int r, g, b;
};

rgb332 split(uint8_t c) { return {c >> 5, (c >> 2) & 7, c & 3}; }

uint8_t join(int r, int g, int b) { return static_cast<uint8_t>(r << 5 | g << 2 | b); }

bool pixelset(int glyph, int x, int y)
{
    return (font[glyph][(y + 8) % 8] >> (7 - (x + 8) % 8)) & 1;
}

// Scale2x on the glyph with wrap-around neighbours: the number of the four
// quarter pixels of (x, y) that come out set.
uint8_t coverage(int glyph, int x, int y)
{
    const bool c = pixelset(glyph, x, y);
    const bool u = pixelset(glyph, x, y - 1);
    const bool d = pixelset(glyph, x, y + 1);
    const bool l = pixelset(glyph, x - 1, y);
    const bool r = pixelset(glyph, x + 1, y);
    if (u == d || l == r) return c ? 4 : 0;
    const bool q1 = l == u ? l : c;
    const bool q2 = r == u ? r : c;
    const bool q3 = l == d ? l : c;
    const bool q4 = r == d ? r : c;
    return static_cast<uint8_t>(q1 + q2 + q3 + q4);
}

int shownrows() { return std::min<int>(screenrows, consolemaxrows); }

void drawcell(int row, int col, const tchardata& cell)
{
    const int fg = cell.attr & 0x0F;
    const int bg = cell.attr >> 4;
    const int g = cell.code;
    if (g > 264) return;
    for (int k = 0; k < 8; ++k) {
        uint8_t* dst = framebuf.data() + (row * 8 + k) * framewidth + col * 8;
        if (g < 128) {
            for (int x = 0; x < 8; ++x) dst[x] = blendtab[smoothtab[g][x][k]][fg][bg];
        } else {
            const uint8_t bits = g < 256 ? font[g][k] : barrows[g - 256];
            for (int x = 0; x < 8; ++x)
                dst[x] = (bits >> (7 - x)) & 1 ? colourmap[fg] : colourmap[bg];
        }
    }
}

// What the surface shows, row by row, so that a present sends only the
// pixel rows that changed (the oscilloscope draws straight into framebuf,
// so the rows are compared rather than tracked). A new mode is sent whole:
// SDL may hand back the same surface pointer for it.
struct tsent {
    std::array<uint8_t, framewidth * frameheight> pixels{};
    SDL_Surface* surface = nullptr;
    bool valid = false;
};
tsent sent;

// One row of the frame widened, every pixel k times: a loop the compiler
// unrolls and vectorises for each k, where a call per pixel would cost more
// than the rest of the present.
template <int K>
void widen(const uint8_t* row, uint8_t* out)
{
    for (int x = 0; x < framewidth; ++x)
        for (int j = 0; j < K; ++j) out[x * K + j] = row[x];
}

void widenrow(int k, const uint8_t* row, uint8_t* out)
{
    switch (k) {
    case 2: widen<2>(row, out); break;
    case 3: widen<3>(row, out); break;
    case 4: widen<4>(row, out); break;
    default: std::memcpy(out, row, framewidth); break;
    }
}

// Copies the changed rows to the surface and collects them as bands of whole
// rows in the surface's coordinates; returns the number of bands. Each row
// is widened into blocks of the placement's scale and sent that many times
// at its place; whatever falls outside the surface is cut (the surface
// normally fits the placed screen; another shape is never overrun). A new
// surface is sent whole, with the border around the screen black.
int copytosurface(SDL_Rect* bands, int maxbands)
{
    if (!surface->pixels || surface->format->BytesPerPixel != 1) return 0;
    const int k = placement.scale;
    const int rows = shownrows() * 8;
    const int left = std::min(placement.x, static_cast<int>(surface->w));
    const int width = std::min(framewidth * k, static_cast<int>(surface->w) - left);
    const bool whole = !sent.valid || sent.surface != surface;
    auto* pixels = static_cast<uint8_t*>(surface->pixels);
    if (whole) {
        // The border around the screen is black (palette entry 0).
        for (int y = 0; y < surface->h; ++y) std::memset(pixels + y * surface->pitch, 0, surface->w);
    }
    sent.surface = surface;
    sent.valid = true;
    if (width <= 0) return 0;
    std::array<uint8_t, framewidth * maxscale> line;
    int count = 0;
    for (int y = 0; y < rows; ++y) {
        const uint8_t* row = framebuf.data() + y * framewidth;
        uint8_t* shown = sent.pixels.data() + y * framewidth;
        if (!whole && std::memcmp(row, shown, framewidth) == 0) continue;
        std::memcpy(shown, row, framewidth);
        const int top = placement.y + y * k;
        const int height = std::min(k, static_cast<int>(surface->h) - top);
        if (height <= 0) continue;
        const uint8_t* wide = row;
        if (k > 1) {
            widenrow(k, row, line.data());
            wide = line.data();
        }
        for (int j = 0; j < height; ++j) std::memcpy(pixels + (top + j) * surface->pitch + left, wide, width);
        SDL_Rect& last = bands[count > 0 ? count - 1 : 0];
        if (count > 0 && last.y + last.h == top) {
            last.h = static_cast<uint16_t>(last.h + height);
        } else if (count < maxbands) {
            bands[count++] = {static_cast<int16_t>(left), static_cast<int16_t>(top), static_cast<uint16_t>(width),
                              static_cast<uint16_t>(height)};
        } else {
            last.h = static_cast<uint16_t>(top + height - last.y);  // out of bands: stretch the last
        }
    }
    if (whole) {
        // The border too: the whole surface once.
        bands[0] = {0, 0, static_cast<uint16_t>(surface->w), static_cast<uint16_t>(surface->h)};
        return 1;
    }
    return count;
}

bool identity() { return placement == tplacement{}; }

}  // namespace

uint8_t mixhalf(uint8_t x, uint8_t y)
{
    const rgb332 a = split(x), b = split(y);
    return join((a.r + b.r) / 2, (a.g + b.g) / 2, (a.b + b.b) / 2);
}

uint8_t mixquarter(uint8_t x, uint8_t y)
{
    const rgb332 a = split(x), b = split(y);
    return join((a.r + 3 * b.r) / 4, (a.g + 3 * b.g) / 4, (a.b + 3 * b.b) / 4);
}

void screeninit()
{
    font = fontdata;
    for (int r = 0; r < 8; ++r)
        for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b) {
                SDL_Color& c = palette[r * 32 + g * 4 + b];
                c.r = static_cast<uint8_t>(r * 255 / 7);
                c.g = static_cast<uint8_t>(g * 255 / 7);
                c.b = static_cast<uint8_t>(b * 255 / 3);
                c.unused = 0;
            }
    for (int f = 0; f < 16; ++f)
        for (int b = 0; b < 16; ++b) {
            const uint8_t fc = colourmap[f], bc = colourmap[b];
            blendtab[0][f][b] = bc;
            blendtab[1][f][b] = mixquarter(fc, bc);
            blendtab[2][f][b] = mixhalf(fc, bc);
            blendtab[3][f][b] = mixquarter(bc, fc);
            blendtab[4][f][b] = fc;
        }
    buildsmoothtab();
}

void buildsmoothtab()
{
    for (int g = 0; g < 256; ++g)
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y) smoothtab[g][x][y] = coverage(g, x, y);
}

void screenreset()
{
    screeninit();
    screenrows = 50;
    framebuf.fill(0);
    sent.valid = false;
    textscreen.fill(tchardata{});
    shownscreen.fill(tchardata{});
    std::memset(&event, 0, sizeof event);
    conreset();
}

void readdesktop()
{
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    desktopwidth = info ? info->current_w : 0;
    desktopheight = info ? info->current_h : 0;
}

int fittingscale()
{
    const int rows = shownrows() * 8;
    int k = maxscale;
    while (k > 1 && (framewidth * k * 4 > desktopwidth * 3 || rows * k * 4 > desktopheight * 3)) --k;
    return k;
}

void setvideomode(bool toggle)
{
    if (toggle) fullscreen = !fullscreen;
    uint32_t flags = windowflags;
    if (fullscreen) flags |= SDL_FULLSCREEN;
    const int rows = screenrows * 8;
    if (fullscreen && desktopwidth > 0 && desktopheight > 0) {
        const int k = std::clamp(std::min(desktopwidth / framewidth, desktopheight / std::max(rows, 1)), 1, maxscale);
        placement = {k, std::max(0, (desktopwidth - framewidth * k) / 2), std::max(0, (desktopheight - rows * k) / 2)};
        surface = SDL_SetVideoMode(desktopwidth, desktopheight, 8, flags);
    } else if (fullscreen) {
        placement = {};
        surface = SDL_SetVideoMode(framewidth, rows, 8, flags);
    } else {
        const int k = std::clamp(windowscale, 1, maxscale);
        placement = {k, 0, 0};
        surface = SDL_SetVideoMode(framewidth * k, rows * k, 8, flags);
    }
    sent.valid = false;
    if (surface) SDL_SetColors(surface, palette, 0, 256);
}

bool viewkey(const SDL_keysym& key)
{
    if (!(key.mod & KMOD_ALT)) return false;
    const bool scalekey = key.sym >= SDLK_1 && key.sym <= SDLK_4;
    if (key.sym == SDLK_RETURN) {
        setvideomode(true);
    } else if (scalekey) {
        // In full screen the choice waits for the window.
        windowscale = key.sym - SDLK_0;
        if (!fullscreen) setvideomode(false);
    } else {
        return key.sym >= SDLK_0 && key.sym <= SDLK_9;
    }
    if (viewchanged) viewchanged(scalekey);
    return true;
}

bool mapmouse(SDL_Event& ev)
{
    if (identity()) return true;
    Uint16* x = nullptr;
    Uint16* y = nullptr;
    if (ev.type == SDL_MOUSEMOTION) {
        x = &ev.motion.x;
        y = &ev.motion.y;
    } else if (ev.type == SDL_MOUSEBUTTONDOWN || ev.type == SDL_MOUSEBUTTONUP) {
        x = &ev.button.x;
        y = &ev.button.y;
    } else {
        return true;
    }
    const int k = placement.scale;
    const int mx = *x - placement.x;
    const int my = *y - placement.y;
    if (mx < 0 || my < 0 || mx >= framewidth * k || my >= shownrows() * 8 * k) return false;
    *x = static_cast<Uint16>(mx / k);
    *y = static_cast<Uint16>(my / k);
    if (ev.type == SDL_MOUSEMOTION) {
        ev.motion.xrel = static_cast<Sint16>(ev.motion.xrel / k);
        ev.motion.yrel = static_cast<Sint16>(ev.motion.yrel / k);
    }
    return true;
}

void presentframe()
{
    const int rows = shownrows();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < consolecols; ++c) {
            const tchardata& cell = textscreen[r * consolecols + c];
            if (cell == shownscreen[r * consolecols + c]) continue;
            drawcell(r, c, cell);
        }
    shownscreen = textscreen;
    if (!surface) return;
    SDL_Rect bands[frameheight / 8];
    int count = 0;
    if (SDL_LockSurface(surface) == 0) {
        count = copytosurface(bands, frameheight / 8);
        SDL_UnlockSurface(surface);
    }
    if (count > 0) SDL_UpdateRects(surface, count, bands);
}

bool pollkey()
{
    if (!SDL_PollEvent(&event)) return false;
    return mapmouse(event) && endswait(event);
}

uint8_t lastkey() { return static_cast<uint8_t>(event.key.keysym.sym & 0xFF); }

}  // namespace screen
