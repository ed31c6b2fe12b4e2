// Presentation into the off-screen frame: which cells are redrawn and how
// their pixels come out. No window is needed; without a surface only
// framebuf is drawn.
#include <gtest/gtest.h>

#include <set>

#include "screen/font.h"
#include "screen/video.h"

namespace {

using screen::colourmap;
using screen::framebuf;
using screen::textscreen;

constexpr uint8_t whiteonblue = 0x1F;

uint8_t pixel(int col, int row, int x, int y) { return framebuf[(row * 8 + y) * 640 + col * 8 + x]; }

void setcell(int col, int row, uint16_t code, uint8_t attr) { textscreen[row * 80 + col] = {code, attr}; }

class PresentTest : public ::testing::Test {
protected:
    void SetUp() override { screen::screenreset(); }
};

TEST_F(PresentTest, SmoothedGlyphHasIntermediateColoursOnItsSteps)
{
    setcell(3, 2, '/', whiteonblue);
    screen::presentframe();
    const std::set<uint8_t> levels = {screen::blendtab[0][15][1], screen::blendtab[1][15][1],
                                      screen::blendtab[2][15][1], screen::blendtab[3][15][1],
                                      screen::blendtab[4][15][1]};
    int partial = 0, full = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const uint8_t p = pixel(3, 2, x, y);
            EXPECT_TRUE(levels.count(p)) << "pixel " << x << "," << y << " = " << int(p);
            if (p == colourmap[15]) ++full;
            else if (p != colourmap[1]) ++partial;
        }
    EXPECT_GT(full, 0);
    EXPECT_GT(partial, 0) << "a diagonal gets blended steps";
}

TEST_F(PresentTest, SmoothedPixelsFollowTheirLevels)
{
    // A bold step in a glyph of our own: corners at level 3, notches at 1.
    screen::font[2] = {0xC0, 0x60, 0x30, 0x18, 0, 0, 0, 0};
    screen::buildsmoothtab();
    setcell(0, 0, 2, 0x4E);  // yellow on red
    screen::presentframe();
    EXPECT_EQ(pixel(0, 0, 2, 1), screen::mixquarter(colourmap[4], colourmap[14]));
    EXPECT_EQ(pixel(0, 0, 2, 0), screen::mixquarter(colourmap[14], colourmap[4]));
    EXPECT_EQ(pixel(0, 0, 6, 6), colourmap[4]);
    EXPECT_EQ(pixel(0, 0, 0, 0), colourmap[14]);
}

TEST_F(PresentTest, HighGlyphsArePlainForegroundAndBackground)
{
    // One half has diagonal strokes that smoothing would blend; drawn plain
    // they keep exactly two colours, pixel for pixel as the font says.
    const int glyph = 0xAB;
    bool wouldblend = false;
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y) {
            const int l = screen::smoothtab[glyph][x][y];
            wouldblend |= l > 0 && l < 4;
        }
    ASSERT_TRUE(wouldblend);
    setcell(79, 49, glyph, whiteonblue);
    screen::presentframe();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool lit = (screen::font[glyph][y] >> (7 - x)) & 1;
            EXPECT_EQ(pixel(79, 49, x, y), lit ? colourmap[15] : colourmap[1]) << x << "," << y;
        }
}

TEST_F(PresentTest, UnchangedCellIsNotRedrawn)
{
    setcell(10, 10, 'A', whiteonblue);
    screen::presentframe();
    framebuf[(10 * 8) * 640 + 10 * 8] = 77;
    setcell(10, 10, 'A', whiteonblue);  // the same again
    screen::presentframe();
    EXPECT_EQ(framebuf[(10 * 8) * 640 + 10 * 8], 77);
}

TEST_F(PresentTest, ChangedGlyphOrColourIsRedrawn)
{
    setcell(10, 10, 0xDB, whiteonblue);
    screen::presentframe();
    EXPECT_EQ(pixel(10, 10, 0, 0), colourmap[15]);

    setcell(10, 10, 0xDB, 0x1E);  // only the colour
    screen::presentframe();
    EXPECT_EQ(pixel(10, 10, 0, 0), colourmap[14]);

    setcell(10, 10, ' ', 0x1E);  // only the glyph
    screen::presentframe();
    EXPECT_EQ(pixel(10, 10, 0, 0), colourmap[1]);
}

TEST_F(PresentTest, PresentationRemembersWhatItShowed)
{
    setcell(5, 5, 'x', 0x07);
    setcell(5, 55, 'x', 0x07);
    screen::presentframe();
    EXPECT_EQ(screen::shownscreen, textscreen);
}

TEST_F(PresentTest, BarCellsLightColumnsFromTheLeft)
{
    for (int n = 0; n <= 8; ++n) setcell(n, 1, static_cast<uint16_t>(256 + n), 0x5A);
    screen::presentframe();
    for (int n = 0; n <= 8; ++n)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(pixel(n, 1, x, y), x < n ? colourmap[10] : colourmap[5])
                    << "bar " << n << " pixel " << x << "," << y;
}

TEST_F(PresentTest, OtherCodesLeaveTheCellUndrawn)
{
    for (int i = 0; i < 8 * 640; ++i) framebuf[i] = 99;
    setcell(0, 0, 265, whiteonblue);
    setcell(1, 0, 0xFFFF, whiteonblue);
    setcell(2, 0, 0x1FF, 0xFF);
    screen::presentframe();
    for (int col = 0; col < 3; ++col)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(col, 0, x, y), 99);
}

TEST_F(PresentTest, OnlyTheShownRowsAreDrawn)
{
    screen::screenrows = 50;
    setcell(0, 49, 0xDB, 0x0F);
    setcell(0, 50, 0xDB, 0x0F);
    setcell(0, 59, 0xDB, 0x0F);
    screen::presentframe();
    EXPECT_EQ(pixel(0, 49, 0, 7), colourmap[15]);
    EXPECT_EQ(pixel(0, 50, 0, 0), 0);
    EXPECT_EQ(pixel(0, 59, 7, 7), 0);

    screen::screenrows = 60;
    setcell(0, 59, 0xDB, 0x0E);
    screen::presentframe();
    EXPECT_EQ(pixel(0, 59, 7, 7), colourmap[14]);
}

TEST_F(PresentTest, TooManyRowsStayInsideTheFrame)
{
    screen::screenrows = 255;
    for (auto& cell : textscreen) cell = {0xDB, 0x0F};
    screen::presentframe();
    EXPECT_EQ(framebuf.back(), colourmap[15]);
}

TEST_F(PresentTest, FreshScreenDrawsNothing)
{
    // Both buffers start all zero, matching the black frame.
    screen::presentframe();
    for (uint8_t p : framebuf) ASSERT_EQ(p, 0);
}

}  // namespace
