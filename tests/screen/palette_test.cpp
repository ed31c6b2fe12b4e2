// The 3-3-2 palette, the 16 text colours, colour mixing and the smoothing
// levels of the Scale2x rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "screen/font.h"
#include "screen/video.h"

namespace {

using screen::blendtab;
using screen::colourmap;
using screen::palette;

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override { screen::screenreset(); }
};

TEST_F(PaletteTest, TextColoursHaveTheirRgbValues)
{
    const uint8_t expected[16][3] = {
        {0, 0, 0},       {0, 0, 170},     {0, 145, 0},     {0, 145, 170},
        {145, 0, 0},     {145, 0, 170},   {145, 145, 0},   {182, 182, 170},
        {109, 109, 85},  {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
        {255, 0, 0},     {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) {
        const SDL_Color& c = palette[colourmap[i]];
        EXPECT_EQ(c.r, expected[i][0]) << "colour " << i;
        EXPECT_EQ(c.g, expected[i][1]) << "colour " << i;
        EXPECT_EQ(c.b, expected[i][2]) << "colour " << i;
    }
}

TEST_F(PaletteTest, IndexBitsAreRrrGggBb)
{
    // 0b101'011'10: r3 = 5, g3 = 3, b2 = 2.
    EXPECT_EQ(palette[0xAE].r, 182);
    EXPECT_EQ(palette[0xAE].g, 109);
    EXPECT_EQ(palette[0xAE].b, 170);
    // Pure channels at full strength.
    EXPECT_EQ(palette[0xE0].r, 255);
    EXPECT_EQ(palette[0xE0].g, 0);
    EXPECT_EQ(palette[0x1C].g, 255);
    EXPECT_EQ(palette[0x1C].r, 0);
    EXPECT_EQ(palette[0x03].b, 255);
    // Steps of a channel are integer divisions: 1 * 255 / 7 and 1 * 255 / 3.
    EXPECT_EQ(palette[0x20].r, 36);
    EXPECT_EQ(palette[0x04].g, 36);
    EXPECT_EQ(palette[0x01].b, 85);
    for (const SDL_Color& c : palette) EXPECT_EQ(c.unused, 0);
}

TEST_F(PaletteTest, MixingWorksPerChannel)
{
    // White and black: half is (3, 3, 1).
    EXPECT_EQ(screen::mixhalf(0xFF, 0x00), 0x6D);
    EXPECT_EQ(screen::mixhalf(0x00, 0xFF), 0x6D);
    // One quarter of the first, three quarters of the second.
    EXPECT_EQ(screen::mixquarter(0xFF, 0x00), 0x24);  // (1, 1, 0)
    EXPECT_EQ(screen::mixquarter(0x00, 0xFF), 0xB6);  // (5, 5, 2)
    // Channels never borrow from each other: red against blue.
    EXPECT_EQ(screen::mixhalf(0xE0, 0x03), 0x61);     // (3, 0, 1)
    EXPECT_EQ(screen::mixquarter(0xE0, 0x03), 0x22);  // (1, 0, 2)
    // A colour mixed with itself stays.
    for (int c : {0, 0x5A, 0xB6, 0xFF}) {
        EXPECT_EQ(screen::mixhalf(c, c), c);
        EXPECT_EQ(screen::mixquarter(c, c), c);
    }
}

TEST_F(PaletteTest, BlendLevelsRunFromBackgroundToForeground)
{
    // White (255) on blue (2, i.e. r0 g0 b2).
    EXPECT_EQ(blendtab[0][15][1], 2);
    EXPECT_EQ(blendtab[1][15][1], 0x26);  // (1, 1, 2): three quarters blue
    EXPECT_EQ(blendtab[2][15][1], 0x6E);  // (3, 3, 2)
    EXPECT_EQ(blendtab[3][15][1], 0xB6);  // (5, 5, 2): three quarters white
    EXPECT_EQ(blendtab[4][15][1], 255);
    for (int f = 0; f < 16; ++f)
        for (int b = 0; b < 16; ++b) {
            EXPECT_EQ(blendtab[0][f][b], colourmap[b]);
            EXPECT_EQ(blendtab[4][f][b], colourmap[f]);
        }
}

// Smoothing works on the working font; these tests draw their own glyphs
// into a spare slot and rebuild the table.
class SmoothTest : public PaletteTest {
protected:
    static constexpr int slot = 1;
    void setglyph(std::array<uint8_t, 8> rows)
    {
        screen::font[slot] = rows;
        screen::buildsmoothtab();
    }
    int level(int x, int y) const { return screen::smoothtab[slot][x][y]; }
};

TEST_F(SmoothTest, StraightEdgesStayCrisp)
{
    setglyph({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y) EXPECT_EQ(level(x, y), y < 4 ? 4 : 0) << x << "," << y;
    setglyph({0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F});
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y) EXPECT_EQ(level(x, y), x >= 4 ? 4 : 0) << x << "," << y;
}

TEST_F(SmoothTest, ThinDiagonalLightsItsNotches)
{
    // A one-pixel staircase falling to the right, plus a lone pixel.
    setglyph({0x80, 0x40, 0x20, 0x10, 0, 0, 0, 0x01});
    // The line's own pixels have clear pixels above and below: kept whole.
    EXPECT_EQ(level(1, 1), 4);
    EXPECT_EQ(level(2, 2), 4);
    // The clear pixels in the notches pick up one quarter.
    EXPECT_EQ(level(1, 0), 1);  // right of (0, 0), above (1, 1)
    EXPECT_EQ(level(0, 1), 1);  // below (0, 0), left of (1, 1)
    EXPECT_EQ(level(2, 1), 1);
    // Far from the line nothing is lit.
    EXPECT_EQ(level(5, 1), 0);
    EXPECT_EQ(level(0, 5), 0);
    EXPECT_EQ(level(7, 7), 4);
}

TEST_F(SmoothTest, ThickStepGetsThreeAndOne)
{
    // A two-pixel-wide stroke stepping right, like a bold slash.
    setglyph({0xC0, 0x60, 0x30, 0x18, 0, 0, 0, 0});
    EXPECT_EQ(level(2, 1), 3) << "set corner at the leading edge";
    EXPECT_EQ(level(1, 1), 3) << "set corner at the trailing edge";
    EXPECT_EQ(level(2, 0), 1) << "clear notch above the step";
    EXPECT_EQ(level(0, 1), 1) << "clear notch below the step";
}

TEST_F(SmoothTest, NeighboursWrapAroundTheCell)
{
    // (0, 3) is clear; above it (0, 2) is set, and its left neighbour is
    // column 7 of the same row, which is set. Only the wrap makes L equal U.
    setglyph({0, 0, 0x80, 0x01, 0, 0, 0, 0});
    EXPECT_EQ(level(0, 3), 1);
    // The same across the top edge: (3, 0) is clear, its upper neighbour is
    // row 7 (set) and its left neighbour (2, 0) is set.
    setglyph({0x20, 0, 0, 0, 0, 0, 0, 0x10});
    EXPECT_EQ(level(3, 0), 1);
}

TEST_F(SmoothTest, SolidAndEmptyGlyphsAreUniform)
{
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(screen::smoothtab[0xDB][x][y], 4);
            EXPECT_EQ(screen::smoothtab[0x00][x][y], 0);
            EXPECT_EQ(screen::smoothtab[0x20][x][y], 0);
        }
}

TEST_F(SmoothTest, ResetRestoresTheFontAndItsLevels)
{
    uint8_t before[8][8];
    std::copy(&screen::smoothtab[slot][0][0], &screen::smoothtab[slot][0][0] + 64, &before[0][0]);
    setglyph({0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0});
    screen::screenreset();
    EXPECT_EQ(screen::font[slot], screen::fontdata[slot]);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y) EXPECT_EQ(level(x, y), before[x][y]) << x << "," << y;
}

}  // namespace
