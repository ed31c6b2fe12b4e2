// The font: the exact block pieces, box-drawing lines that meet their
// neighbours at the cell edges, and no missing or duplicated glyphs.
#include <gtest/gtest.h>

#include <bit>
#include <map>

#include "screen/font.h"
#include "screen/video.h"

namespace {

using screen::fontdata;

int pixels(int glyph)
{
    int n = 0;
    for (uint8_t row : fontdata[glyph]) n += std::popcount(row);
    return n;
}

TEST(FontTest, HalfAndFullBlocksAreExact)
{
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(fontdata[0xDB][y], 0xFF);
        EXPECT_EQ(fontdata[0xDC][y], y < 4 ? 0x00 : 0xFF);
        EXPECT_EQ(fontdata[0xDD][y], 0xF0);
        EXPECT_EQ(fontdata[0xDE][y], 0x0F);
        EXPECT_EQ(fontdata[0xDF][y], y < 4 ? 0xFF : 0x00);
    }
}

TEST(FontTest, BlanksAreBlankAndEverythingElseIsDrawn)
{
    EXPECT_EQ(pixels(0x00), 0);
    EXPECT_EQ(pixels(0x20), 0);
    EXPECT_EQ(pixels(0xFF), 0);
    for (int g = 1; g < 255; ++g) {
        if (g == 0x20) continue;
        EXPECT_GT(pixels(g), 0) << "glyph " << g;
    }
}

TEST(FontTest, NoTwoGlyphsAreTheSame)
{
    std::map<std::array<uint8_t, 8>, int> seen;
    for (int g = 0; g < 256; ++g) {
        if (g == 0 || g == 0x20 || g == 0xFF) continue;
        auto [it, fresh] = seen.emplace(fontdata[g], g);
        EXPECT_TRUE(fresh) << "glyph " << g << " repeats glyph " << it->second;
    }
}

TEST(FontTest, ShadesGetDarker)
{
    EXPECT_EQ(pixels(0xB0), 16);
    EXPECT_EQ(pixels(0xB1), 32);
    EXPECT_EQ(pixels(0xB2), 48);
}

TEST(FontTest, OnlyDescendersReachTheBottomRow)
{
    for (int g = 'A'; g <= 'Z'; ++g) EXPECT_EQ(fontdata[g][7], 0) << char(g);
    for (int g = 'a'; g <= 'z'; ++g) {
        const bool descender = g == 'g' || g == 'j' || g == 'p' || g == 'q' || g == 'y';
        EXPECT_EQ(fontdata[g][7] != 0, descender) << char(g);
    }
    for (int g = '0'; g <= '9'; ++g) EXPECT_EQ(fontdata[g][7], 0) << char(g);
}

TEST(FontTest, WorkingCopyIsTheFont)
{
    screen::screeninit();
    EXPECT_EQ(screen::font, fontdata);
}

// Box drawing: how each piece leaves its cell upwards, downwards, to the
// left and to the right (0 not, 1 single line, 2 double line).
struct boxpiece {
    int code, up, down, left, right;
};

constexpr boxpiece boxpieces[] = {
    {0xB3, 1, 1, 0, 0}, {0xB4, 1, 1, 1, 0}, {0xB5, 1, 1, 2, 0}, {0xB6, 2, 2, 1, 0},
    {0xB7, 0, 2, 1, 0}, {0xB8, 0, 1, 2, 0}, {0xB9, 2, 2, 2, 0}, {0xBA, 2, 2, 0, 0},
    {0xBB, 0, 2, 2, 0}, {0xBC, 2, 0, 2, 0}, {0xBD, 2, 0, 1, 0}, {0xBE, 1, 0, 2, 0},
    {0xBF, 0, 1, 1, 0}, {0xC0, 1, 0, 0, 1}, {0xC1, 1, 0, 1, 1}, {0xC2, 0, 1, 1, 1},
    {0xC3, 1, 1, 0, 1}, {0xC4, 0, 0, 1, 1}, {0xC5, 1, 1, 1, 1}, {0xC6, 1, 1, 0, 2},
    {0xC7, 2, 2, 0, 1}, {0xC8, 2, 0, 0, 2}, {0xC9, 0, 2, 0, 2}, {0xCA, 2, 0, 2, 2},
    {0xCB, 0, 2, 2, 2}, {0xCC, 2, 2, 0, 2}, {0xCD, 0, 0, 2, 2}, {0xCE, 2, 2, 2, 2},
    {0xCF, 1, 0, 2, 2}, {0xD0, 2, 0, 1, 1}, {0xD1, 0, 1, 2, 2}, {0xD2, 0, 2, 1, 1},
    {0xD3, 2, 0, 0, 1}, {0xD4, 1, 0, 0, 2}, {0xD5, 0, 1, 0, 2}, {0xD6, 0, 2, 0, 1},
    {0xD7, 2, 2, 1, 1}, {0xD8, 1, 1, 2, 2}, {0xD9, 1, 0, 1, 0}, {0xDA, 0, 1, 0, 1},
};

// Where a line crosses the top or bottom edge (as a row byte) and the left
// or right edge (as a column of bits, bit 7 the top row).
constexpr uint8_t verticalat[3] = {0x00, 0x18, 0x24};
constexpr uint8_t horizontalat[3] = {0x00, 0x18, 0x24};

uint8_t column(int glyph, int x)
{
    uint8_t bits = 0;
    for (int y = 0; y < 8; ++y) bits = static_cast<uint8_t>(bits << 1 | ((fontdata[glyph][y] >> (7 - x)) & 1));
    return bits;
}

TEST(FontTest, BoxPiecesMeetTheirNeighboursAtTheEdges)
{
    for (const boxpiece& p : boxpieces) {
        EXPECT_EQ(fontdata[p.code][0], verticalat[p.up]) << "top edge of " << p.code;
        EXPECT_EQ(fontdata[p.code][7], verticalat[p.down]) << "bottom edge of " << p.code;
        EXPECT_EQ(column(p.code, 0), horizontalat[p.left]) << "left edge of " << p.code;
        EXPECT_EQ(column(p.code, 7), horizontalat[p.right]) << "right edge of " << p.code;
    }
}

TEST(FontTest, FramePiecesHaveTheirUsualShapes)
{
    // The message box's frame: lines through the middle of the cell that
    // turn at the centre.
    EXPECT_EQ(fontdata[0xC4], (std::array<uint8_t, 8>{0, 0, 0, 0xFF, 0xFF, 0, 0, 0}));
    EXPECT_EQ(fontdata[0xB3], (std::array<uint8_t, 8>{0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18}));
    EXPECT_EQ(fontdata[0xDA], (std::array<uint8_t, 8>{0, 0, 0, 0x1F, 0x1F, 0x18, 0x18, 0x18}));
    EXPECT_EQ(fontdata[0xBF], (std::array<uint8_t, 8>{0, 0, 0, 0xF8, 0xF8, 0x18, 0x18, 0x18}));
    EXPECT_EQ(fontdata[0xC0], (std::array<uint8_t, 8>{0x18, 0x18, 0x18, 0x1F, 0x1F, 0, 0, 0}));
    EXPECT_EQ(fontdata[0xD9], (std::array<uint8_t, 8>{0x18, 0x18, 0x18, 0xF8, 0xF8, 0, 0, 0}));
}

}  // namespace
