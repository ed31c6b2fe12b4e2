// Renders every glyph of the font, some box drawings, text and the bar cells
// through the real presentation path into a PPM picture, so that the font
// can be looked at as the player shows it.
//
// Usage: fontsheet out.ppm

#include <cstdio>
#include <string>

#include "screen/console.h"
#include "screen/video.h"

namespace {

const char hexdigits[] = "0123456789ABCDEF";

void drawgrid()
{
    using namespace screen;
    curattr = 0x0E;
    conwriteat(0, 0, "Font sheet: glyph hh at row h_, column _h, white on blue as the player shows it");
    for (int col = 0; col < 16; ++col) conputchar(4 + col * 4, 1, hexdigits[col]);
    for (int g = 0; g < 256; ++g) {
        const int x = 4 + (g % 16) * 4;
        const int y = 2 + (g / 16) * 2;
        if (g % 16 == 0) {
            curattr = 0x0E;
            conputchar(0, y, hexdigits[g / 16]);
            conputchar(1, y, '_');
        }
        curattr = 0x1F;
        conputchar(x, y, static_cast<uint16_t>(g));
    }
}

void drawsamples()
{
    using namespace screen;
    curattr = 0x1F;
    // Box frames in the four line styles, with every junction.
    const char* lines[] = {
        "\xDA\xC4\xC4\xC2\xC4\xC4\xBF  \xC9\xCD\xCD\xCB\xCD\xCD\xBB  \xD5\xCD\xCD\xD1\xCD\xCD\xB8  "
        "\xD6\xC4\xC4\xD2\xC4\xC4\xB7  \xB0\xB0\xB1\xB1\xB2\xB2\xDB\xDB",
        "\xB3" "ab" "\xB3" "cd" "\xB3  \xBA" "ab" "\xBA" "cd" "\xBA  \xB3" "ab" "\xB3" "cd" "\xB3  \xBA" "ab"
        "\xBA" "cd" "\xBA  \xDF\xDF\xDC\xDC\xDD\xDD\xDE\xDE",
        "\xC3\xC4\xC4\xC5\xC4\xC4\xB4  \xCC\xCD\xCD\xCE\xCD\xCD\xB9  \xC6\xCD\xCD\xD8\xCD\xCD\xB5  "
        "\xC7\xC4\xC4\xD7\xC4\xC4\xB6",
        "\xB3" "ef" "\xB3" "gh" "\xB3  \xBA" "ef" "\xBA" "gh" "\xBA  \xB3" "ef" "\xB3" "gh" "\xB3  \xBA" "ef"
        "\xBA" "gh" "\xBA",
        "\xC0\xC4\xC4\xC1\xC4\xC4\xD9  \xC8\xCD\xCD\xCA\xCD\xCD\xBC  \xD4\xCD\xCD\xCF\xCD\xCD\xBE  "
        "\xD3\xC4\xC4\xD0\xC4\xC4\xBD",
    };
    for (int i = 0; i < 5; ++i) conwriteat(4, 36 + i, lines[i]);
    conwriteat(4, 42, "The quick brown fox jumps over the lazy dog. 0123456789 !?#$%&*()[]{}<>");
    conwriteat(4, 43, "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG. @^_`'\"+-=/\\|~,.;:");
    curattr = 0x4F;
    conwriteat(4, 45, " ?FILE READ  ERROR ");
    curattr = 0x2F;
    conwriteat(30, 45, " Recording tune.wav ");
    curattr = 0x0A;
    for (int i = 0; i < 9; ++i) conputchar(4 + i * 2, 47, static_cast<uint16_t>(256 + i));
    for (int i = 0; i < 16; ++i) {
        curattr = static_cast<uint8_t>(i == 0 ? 0x70 : i);
        conwriteat(30 + i * 3, 47, "Ab");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fontsheet out.ppm\n");
        return 2;
    }
    screen::screeninit();
    screen::screenrows = 50;
    screen::curattr = 0x00;
    screen::conclear();
    drawgrid();
    drawsamples();
    screen::presentframe();

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const int height = screen::screenrows * 8;
    std::fprintf(f, "P6\n%d %d\n255\n", screen::framewidth, height);
    for (int i = 0; i < screen::framewidth * height; ++i) {
        const SDL_Color& c = screen::palette[screen::framebuf[i]];
        const unsigned char rgb[3] = {c.r, c.g, c.b};
        std::fwrite(rgb, 1, 3, f);
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
