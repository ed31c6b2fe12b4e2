#include "screen/console.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/ascii.h"
#include "screen/video.h"

namespace screen {

uint8_t curx = 0;
uint8_t cury = 0;
uint8_t curattr = 0x0F;
std::function<void(std::string_view msg, uint8_t attr, bool wait)> messagesink;

namespace {

// Every write goes through here: cells outside the 80 x 60 buffer are
// dropped, so a cursor that ran off the bottom or a caller's stray
// coordinates never reach memory beyond textscreen.
tchardata* cellat(int64_t x, int64_t y)
{
    if (x < 0 || x >= consolecols || y < 0 || y >= consolemaxrows) return nullptr;
    return &textscreen[static_cast<size_t>(y * consolecols + x)];
}

void putcell(int64_t x, int64_t y, uint16_t code, uint8_t attr)
{
    if (tchardata* cell = cellat(x, y)) {
        cell->code = code;
        cell->attr = attr;
    }
}

// Rows [row, row + count) clipped to the buffer, as a half-open range.
struct rowrange {
    int first, last;
};

rowrange cliprows(int64_t row, int64_t count)
{
    const int64_t first = std::clamp<int64_t>(row, 0, consolemaxrows);
    const int64_t last = std::min<int64_t>(row + std::max<int64_t>(count, 0), consolemaxrows);
    return {static_cast<int>(first), static_cast<int>(std::max(first, last))};
}

void advance()
{
    ++curx;
    if (curx > 79) {
        curx = 0;
        ++cury;
    }
}

}  // namespace

void conreset()
{
    curx = 0;
    cury = 0;
    curattr = 0x0F;
    messagesink = nullptr;
}

void conwrite(std::string_view s)
{
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<uint8_t>(s[i]);
        if (b == 255) {
            // A trailing 255 has no attribute byte after it and changes nothing.
            if (++i < s.size()) curattr = static_cast<uint8_t>(s[i]);
            continue;
        }
        putcell(curx, cury, b, curattr);
        advance();
    }
}

void conwriteln(std::string_view s)
{
    conwrite(s);
    connewline();
}

void conwriteat(int x, int y, std::string_view s)
{
    congotoxy(x, y);
    conwrite(s);
}

void connewline()
{
    curx = 0;
    ++cury;
}

void congotoxy(int x, int y)
{
    curx = static_cast<uint8_t>(x);
    cury = static_cast<uint8_t>(y);
}

void conclear()
{
    const int rows = std::min<int>(screenrows, consolemaxrows);
    for (int i = 0; i < rows * consolecols; ++i) textscreen[i] = {32, curattr};
    curx = 0;
    cury = 0;
}

void conclreol()
{
    if (curx > 79) return;
    for (int x = curx; x < consolecols; ++x) putcell(x, cury, 32, curattr);
}

void conputchar(int x, int y, uint16_t code) { putcell(x, y, code, curattr); }

void conputcell(int x, int y, uint16_t value)
{
    putcell(x, y, value & 0xFF, static_cast<uint8_t>(value >> 8));
}

void conplot(int x, int y, uint8_t colour)
{
    if (y < 0) return;
    tchardata* cell = cellat(x, y / 2);
    if (!cell) return;
    cell->code = 0xDF;
    const uint8_t c = colour & 0x0F;
    if (y % 2 == 0)
        cell->attr = static_cast<uint8_t>((cell->attr & 0xF0) | c);
    else
        cell->attr = static_cast<uint8_t>((cell->attr & 0x0F) | c << 4);
}

void confillrows(int row, int count, uint8_t attr)
{
    const rowrange rr = cliprows(row, count);
    for (int i = rr.first * consolecols; i < rr.last * consolecols; ++i) textscreen[i] = {32, attr};
}

void conrowattr(int row, uint8_t attr)
{
    const rowrange rr = cliprows(row, 1);
    for (int i = rr.first * consolecols; i < rr.last * consolecols; ++i) textscreen[i].attr = attr;
}

void conclearbg(int row, int count)
{
    const rowrange rr = cliprows(row, count);
    for (int i = rr.first * consolecols; i < rr.last * consolecols; ++i) textscreen[i].attr &= 0x0F;
}

void conshiftleft(int row)
{
    if (row < 0 || row >= consolemaxrows) return;
    tchardata* line = &textscreen[static_cast<size_t>(row) * consolecols];
    for (int x = 0; x < consolecols - 1; ++x) line[x] = {line[x + 1].code, curattr};
}

void conscrollup(int row, int count)
{
    // Row 0 has no row above it to move into; it is left as it is.
    const rowrange rr = cliprows(row, count);
    for (int r = std::max(rr.first, 1); r < rr.last; ++r)
        std::copy_n(&textscreen[static_cast<size_t>(r) * consolecols], consolecols,
                    &textscreen[static_cast<size_t>(r - 1) * consolecols]);
}

std::string inttostr(int32_t v, int width)
{
    std::string s = std::to_string(v);
    if (width > 0 && s.size() < static_cast<size_t>(width)) s.insert(0, width - s.size(), ' ');
    return s;
}

void upcase(std::string& s)
{
    s = upcaseascii(std::move(s));
}

void messagebox(std::string_view msg, uint8_t attr, bool wait)
{
    if (messagesink) {
        messagesink(msg, attr, wait);
        return;
    }
    conclear();
    curattr = attr;
    const int64_t len = static_cast<int64_t>(msg.size());
    const int64_t x = 39 - len / 2;
    putcell(x, 24, 0xDA, curattr);
    putcell(x, 25, 0xB3, curattr);
    putcell(x, 26, 0xC0, curattr);
    for (int64_t i = 0; i < len; ++i) {
        putcell(x + 1 + i, 24, 0xC4, curattr);
        putcell(x + 1 + i, 25, static_cast<uint8_t>(msg[static_cast<size_t>(i)]), curattr);
        putcell(x + 1 + i, 26, 0xC4, curattr);
    }
    putcell(x + 1 + len, 24, 0xBF, curattr);
    putcell(x + 1 + len, 25, 0xB3, curattr);
    putcell(x + 1 + len, 26, 0xD9, curattr);
    curattr = 7;
    presentframe();
    if (!wait) return;
    // Without a video subsystem no key can ever arrive; waiting would hang.
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    while (!pollkey()) SDL_Delay(20);
}

}  // namespace screen
