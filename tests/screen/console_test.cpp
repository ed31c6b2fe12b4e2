// The text console: cursor writes, the attribute escape, cell and row
// operations, helpers, the message box, and that no argument reaches
// outside the buffers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <SDL.h>

#include "screen/console.h"
#include "screen/video.h"

namespace {

using namespace screen;

const tchardata& cell(int x, int y) { return textscreen[y * 80 + x]; }

std::string rowtext(int y, int from = 0, int count = 80)
{
    std::string s;
    for (int x = from; x < from + count; ++x) s += static_cast<char>(cell(x, y).code);
    return s;
}

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override { screenreset(); }
};

TEST_F(ConsoleTest, StartsWhiteOnBlackAtTheCorner)
{
    EXPECT_EQ(curx, 0);
    EXPECT_EQ(cury, 0);
    EXPECT_EQ(curattr, 0x0F);
}

TEST_F(ConsoleTest, WriteWrapsFromColumn79)
{
    conwrite(std::string(80, 'a') + "b");
    EXPECT_EQ(cell(79, 0).code, 'a');
    EXPECT_EQ(cell(0, 1).code, 'b');
    EXPECT_EQ(curx, 1);
    EXPECT_EQ(cury, 1);

    congotoxy(78, 5);
    conwrite("xyz");
    EXPECT_EQ(rowtext(5, 78, 2), "xy");
    EXPECT_EQ(cell(0, 6).code, 'z');
}

TEST_F(ConsoleTest, EscapeChangesTheColourWithoutDrawing)
{
    curattr = 0x07;
    conwrite(std::string("A\xFF\x1E" "B"));
    EXPECT_EQ(cell(0, 0).code, 'A');
    EXPECT_EQ(cell(0, 0).attr, 0x07);
    EXPECT_EQ(cell(1, 0).code, 'B');
    EXPECT_EQ(cell(1, 0).attr, 0x1E);
    EXPECT_EQ(curattr, 0x1E);
    EXPECT_EQ(curx, 2);
}

TEST_F(ConsoleTest, EscapeCanSetAnyAttributeEvenAnother255)
{
    conwrite(std::string("\xFF\xFF" "c"));
    EXPECT_EQ(cell(0, 0).code, 'c');
    EXPECT_EQ(cell(0, 0).attr, 0xFF);
    // A 255 at the very end has nothing to read and changes nothing.
    curattr = 0x12;
    conwrite(std::string("d\xFF"));
    EXPECT_EQ(curattr, 0x12);
    EXPECT_EQ(curx, 2);
}

TEST_F(ConsoleTest, LinesAndPositions)
{
    conwriteln("one");
    EXPECT_EQ(curx, 0);
    EXPECT_EQ(cury, 1);
    conwriteat(10, 3, "two");
    EXPECT_EQ(rowtext(3, 10, 3), "two");
    EXPECT_EQ(curx, 13);
    connewline();
    EXPECT_EQ(curx, 0);
    EXPECT_EQ(cury, 4);
}

TEST_F(ConsoleTest, ClearFillsTheShownRowsOnly)
{
    screenrows = 50;
    textscreen[55 * 80].code = 'z';
    curattr = 0x17;
    congotoxy(20, 20);
    conclear();
    EXPECT_EQ(cell(0, 0).code, 32);
    EXPECT_EQ(cell(79, 49).code, 32);
    EXPECT_EQ(cell(79, 49).attr, 0x17);
    EXPECT_EQ(cell(0, 55).code, 'z');
    EXPECT_EQ(curx, 0);
    EXPECT_EQ(cury, 0);
}

TEST_F(ConsoleTest, ClearToEndOfLine)
{
    conwriteat(0, 2, std::string(80, '#'));
    congotoxy(70, 2);
    curattr = 0x20;
    conclreol();
    EXPECT_EQ(rowtext(2, 68, 12), "##          ");
    EXPECT_EQ(cell(79, 2).attr, 0x20);
    EXPECT_EQ(cell(69, 2).attr, 0x0F);
    EXPECT_EQ(curx, 70);
    EXPECT_EQ(cury, 2);
    EXPECT_EQ(cell(0, 3).code, 0) << "the next row is untouched";
}

TEST_F(ConsoleTest, ClearToEndOfLinePastTheEdgeDoesNothing)
{
    conwriteat(0, 1, std::string(80, '#'));  // leaves curx 0, cury 2
    conwriteat(0, 2, std::string(80, '#'));
    const tconsoletype before = textscreen;
    congotoxy(80, 1);
    conclreol();
    EXPECT_EQ(textscreen, before);
    congotoxy(255, 1);
    conclreol();
    EXPECT_EQ(textscreen, before);
}

TEST_F(ConsoleTest, PutCharAndCell)
{
    curattr = 0x3C;
    conputchar(4, 4, 'q');
    EXPECT_EQ(cell(4, 4).code, 'q');
    EXPECT_EQ(cell(4, 4).attr, 0x3C);
    conputchar(5, 4, 260);  // a bar code keeps its full value
    EXPECT_EQ(cell(5, 4).code, 260);
    conputcell(6, 4, 0x4F41);
    EXPECT_EQ(cell(6, 4).code, 'A');
    EXPECT_EQ(cell(6, 4).attr, 0x4F);
    EXPECT_EQ(curx, 0) << "cell operations leave the cursor";
}

TEST_F(ConsoleTest, PlotSetsOneHalfOfACell)
{
    textscreen[3 * 80 + 5] = {'x', 0x9A};
    conplot(5, 7, 12);
    EXPECT_EQ(cell(5, 3).code, 0xDF);
    EXPECT_EQ(cell(5, 3).attr, 0xCA) << "odd y: lower half, foreground kept";
    conplot(5, 6, 3);
    EXPECT_EQ(cell(5, 3).attr, 0xC3) << "even y: upper half, background kept";
    conplot(0, 0, 0xF7);  // only the colour's low nibble counts
    EXPECT_EQ(cell(0, 0).attr, 0x07);
}

TEST_F(ConsoleTest, RowFillsAndAttributes)
{
    conwriteat(0, 10, std::string(80, 'k'));
    conwriteat(0, 11, std::string(80, 'k'));
    confillrows(10, 1, 0x21);
    EXPECT_EQ(rowtext(10), std::string(80, ' '));
    EXPECT_EQ(cell(40, 10).attr, 0x21);
    EXPECT_EQ(rowtext(11), std::string(80, 'k'));

    conrowattr(11, 0x5E);
    EXPECT_EQ(rowtext(11), std::string(80, 'k'));
    EXPECT_EQ(cell(0, 11).attr, 0x5E);
    EXPECT_EQ(cell(79, 11).attr, 0x5E);
    EXPECT_EQ(cell(0, 12).attr, 0);

    conclearbg(10, 2);
    EXPECT_EQ(cell(3, 10).attr, 0x01);
    EXPECT_EQ(cell(3, 11).attr, 0x0E);
}

TEST_F(ConsoleTest, ShiftLeftScrollsTextSideways)
{
    conwriteat(0, 7, "0123456789");
    curattr = 0x1E;
    conshiftleft(7);
    EXPECT_EQ(rowtext(7, 0, 10), std::string("123456789") + '\0');
    EXPECT_EQ(cell(0, 7).attr, 0x1E);
    EXPECT_EQ(cell(78, 7).attr, 0x1E);
    conputcell(79, 7, 0x4F5A);
    conshiftleft(7);
    EXPECT_EQ(cell(78, 7).code, 'Z');
    EXPECT_EQ(cell(79, 7).code, 'Z') << "the last cell keeps its content";
    EXPECT_EQ(cell(79, 7).attr, 0x4F);
}

TEST_F(ConsoleTest, ScrollUpMovesRowsAndKeepsTheLast)
{
    for (int r = 20; r < 24; ++r) conputcell(0, r, static_cast<uint16_t>(0x1000 + 'a' + r - 20));
    conscrollup(21, 3);
    EXPECT_EQ(cell(0, 20).code, 'b');
    EXPECT_EQ(cell(0, 21).code, 'c');
    EXPECT_EQ(cell(0, 22).code, 'd');
    EXPECT_EQ(cell(0, 23).code, 'd');
    EXPECT_EQ(cell(0, 20).attr, 0x10);
}

TEST_F(ConsoleTest, NumbersAsText)
{
    EXPECT_EQ(inttostr(0), "0");
    EXPECT_EQ(inttostr(42, 5), "   42");
    EXPECT_EQ(inttostr(-7, 3), " -7");
    EXPECT_EQ(inttostr(12345, 3), "12345") << "never cut";
    EXPECT_EQ(inttostr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(inttostr(2147483647, 12), "  2147483647");
    EXPECT_EQ(inttostr(5, -4), "5");
}

TEST_F(ConsoleTest, Upcase)
{
    std::string s = "tune-01.sid {az}`\xE4";
    upcase(s);
    EXPECT_EQ(s, "TUNE-01.SID {AZ}`\xE4");
}

TEST_F(ConsoleTest, MessageBoxFramesTheMessageInTheMiddle)
{
    curattr = 0x1F;
    messagebox("?FILE READ  ERROR", 0x4F, false);
    // 17 characters: x = 39 - 8 = 31.
    EXPECT_EQ(cell(31, 24).code, 0xDA);
    EXPECT_EQ(cell(32, 24).code, 0xC4);
    EXPECT_EQ(cell(48, 24).code, 0xC4);
    EXPECT_EQ(cell(49, 24).code, 0xBF);
    EXPECT_EQ(cell(31, 25).code, 0xB3);
    EXPECT_EQ(rowtext(25, 32, 17), "?FILE READ  ERROR");
    EXPECT_EQ(cell(49, 25).code, 0xB3);
    EXPECT_EQ(cell(31, 26).code, 0xC0);
    EXPECT_EQ(cell(49, 26).code, 0xD9);
    EXPECT_EQ(cell(40, 25).attr, 0x4F);
    EXPECT_EQ(cell(0, 0).code, 32);
    EXPECT_EQ(cell(0, 0).attr, 0x1F) << "cleared in the colour before";
    EXPECT_EQ(cell(30, 25).attr, 0x1F);
    EXPECT_EQ(curattr, 7);
    // And it is presented at once.
    EXPECT_EQ(shownscreen, textscreen);
    EXPECT_EQ(framebuf[(24 * 8 + 4) * 640 + 31 * 8 + 4], colourmap[15]);
}

TEST_F(ConsoleTest, EmptyMessageBoxIsATwoColumnFrameAt39)
{
    messagebox("", 0x2F, false);
    EXPECT_EQ(cell(39, 24).code, 0xDA);
    EXPECT_EQ(cell(40, 24).code, 0xBF);
    EXPECT_EQ(cell(39, 25).code, 0xB3);
    EXPECT_EQ(cell(40, 25).code, 0xB3);
    EXPECT_EQ(cell(39, 26).code, 0xC0);
    EXPECT_EQ(cell(40, 26).code, 0xD9);
    EXPECT_EQ(cell(38, 25).code, 32);
    EXPECT_EQ(cell(41, 25).code, 32);
}

TEST_F(ConsoleTest, MessageBoxWithOddAndOverlongMessages)
{
    messagebox("abc", 0x4F, false);  // x = 39 - 1
    EXPECT_EQ(cell(38, 24).code, 0xDA);
    EXPECT_EQ(cell(42, 26).code, 0xD9);
    // Wider than the screen: the frame is cut at the edges, nothing wraps.
    messagebox(std::string(200, 'w'), 0x4F, false);
    EXPECT_EQ(cell(0, 25).code, 'w');
    EXPECT_EQ(cell(79, 25).code, 'w');
    EXPECT_EQ(cell(0, 27).code, 32);
}

TEST_F(ConsoleTest, WaitingWithoutVideoDoesNotHang)
{
    // No video subsystem, so no key can come; the box is still drawn.
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    messagebox("no window", 0x4F, true);
    EXPECT_EQ(cell(36, 25).code, 'n');
}

TEST_F(ConsoleTest, MessageSinkTakesTheMessageInstead)
{
    std::vector<std::string> seen;
    messagesink = [&](std::string_view msg, uint8_t attr, bool wait) {
        seen.push_back(std::string(msg) + "/" + std::to_string(attr) + "/" + (wait ? "w" : "n"));
    };
    curattr = 0x1E;
    messagebox("Unsupported SID-Format ", 0x4F, true);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "Unsupported SID-Format /79/w");
    EXPECT_EQ(curattr, 0x1E) << "nothing else happens";
    EXPECT_EQ(cell(0, 0).code, 0);
    screenreset();
    EXPECT_FALSE(messagesink);
}

// Stray coordinates and counts are dropped; the sanitizers catch any write
// beyond textscreen, the checks below catch writes to the wrong place.
TEST_F(ConsoleTest, StrayArgumentsStayInsideTheBuffer)
{
    const tconsoletype empty = textscreen;
    const int big = 2147483647, small = -2147483647 - 1;
    for (int x : {-1, -80, 80, 255, 4800, 1 << 20, small, big}) {
        conputchar(x, 0, 'x');
        conputcell(x, 0, 0x4141);
        conplot(x, 0, 1);
    }
    for (int y : {-1, -80, 60, 80, 255, 4800, 1 << 20, small, big}) {
        conputchar(0, y, 'x');
        conputcell(0, y, 0x4141);
        conrowattr(y, 0x11);
        conshiftleft(y);
        confillrows(y, 1, 0x22);
        conclearbg(y, 1);
        conscrollup(y, 5);
    }
    for (int y : {-1, -2, 120, 121, 255, 4800, small, big}) conplot(0, y, 1);
    EXPECT_EQ(textscreen, empty);

    // Counts running past the bottom stop at row 59.
    confillrows(58, 1000, 0x33);
    EXPECT_EQ(cell(79, 59).attr, 0x33);
    EXPECT_EQ(cell(79, 57).attr, 0);
    confillrows(-5, 6, 0x44);
    EXPECT_EQ(cell(0, 0).attr, 0x44);
    EXPECT_EQ(cell(0, 1).attr, 0);
    confillrows(0, -3, 0x55);
    EXPECT_EQ(cell(0, 0).attr, 0x44);
    conclearbg(-10, 2147483647);
    EXPECT_EQ(cell(79, 59).attr, 0x03);
    conscrollup(0, 2147483647);
    EXPECT_EQ(cell(0, 0).attr, 0x00) << "row 1 moved up";
    EXPECT_EQ(cell(0, 56).attr, 0x00);
    EXPECT_EQ(cell(0, 57).attr, 0x03);
    EXPECT_EQ(cell(0, 59).attr, 0x03);
}

TEST_F(ConsoleTest, CursorBelowTheBufferDropsItsWrites)
{
    congotoxy(0, 59);
    conwrite(std::string(80, 'e'));  // fills row 59, cursor to row 60
    EXPECT_EQ(cury, 60);
    const tconsoletype before = textscreen;
    conwrite(std::string(500, 'f'));
    conwriteln("g");
    conclreol();
    conwriteat(10, 200, "h");
    EXPECT_EQ(textscreen, before);
    EXPECT_EQ(rowtext(59), std::string(80, 'e'));
}

TEST_F(ConsoleTest, ColumnPastTheEdgeWrapsToTheNextRow)
{
    conwriteat(100, 3, "ab");
    // The write at column 100 is dropped; the cursor wraps and 'b' lands
    // at the start of the next row.
    EXPECT_EQ(rowtext(3), std::string(80, '\0'));
    EXPECT_EQ(cell(0, 4).code, 'b');
}

}  // namespace
