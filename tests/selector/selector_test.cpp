#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "core/playback.h"
#include "screen/console.h"
#include "screen/video.h"
#include "screentest.h"

namespace {

using seltest::ScreenTest;
using selector::dircount;
using selector::dirlist;
using selector::selpos;

// ---- drawing -------------------------------------------------------------

TEST_F(ScreenTest, DrawsTitleAndCentredLabelsAroundTheCursorBar)
{
    setentry(0, 1, "..");
    setentry(1, 1, "sub");
    setentry(2, 0, "tune.sid");
    dircount = 3;
    selpos = 0;
    screen::curattr = 0x07;
    selector::titleline = std::string(40, '\xDB') + std::string(40, '-');
    selector::selresult = 1;
    selector::drawselector();

    EXPECT_EQ(selector::selresult, 0);
    EXPECT_EQ(selector::sellast, 2);
    EXPECT_EQ(rowtext(0), selector::titleline);
    EXPECT_TRUE(rowattr(0, 0x0F));
    EXPECT_TRUE(rowblank(1));
    EXPECT_TRUE(rowblank(24));

    // "<..>" is 4 long: column 37; the bar spans the whole row.
    EXPECT_EQ(textat(37, 25, 4), "<..>");
    EXPECT_TRUE(rowattr(25, 0x1C));
    EXPECT_EQ(cell(0, 25).code, ' ');
    // "<sub>" is 5 long: 39 - 2 = 37.
    EXPECT_EQ(textat(37, 26, 5), "<sub>");
    EXPECT_EQ(cell(37, 26).attr, 0x08);
    EXPECT_EQ(cell(36, 26).code, ' ');
    EXPECT_EQ(textat(35, 27, 8), "tune.sid");
    EXPECT_EQ(cell(35, 27).attr, 0x07);
    for (int y = 28; y < 50; ++y) EXPECT_TRUE(rowblank(y)) << y;
    EXPECT_EQ(screen::curattr, 0x07);
}

TEST_F(ScreenTest, FileUnderTheCursorGetsTheFileBar)
{
    setentry(0, 1, "..");
    setentry(1, 1, "sub");
    setentry(2, 0, "tune.sid");
    dircount = 3;
    selpos = 2;
    selector::drawselector();
    EXPECT_EQ(textat(35, 25, 8), "tune.sid");
    EXPECT_TRUE(rowattr(25, 0x9C));
    EXPECT_EQ(textat(37, 23, 4), "<..>");
    EXPECT_EQ(cell(37, 23).attr, 0x08);
    EXPECT_TRUE(rowblank(22));
    EXPECT_TRUE(rowblank(26));
}

TEST_F(ScreenTest, ListScrollsUnderTheFixedBar)
{
    fill(100);
    selpos = 50;
    selector::drawselector();
    EXPECT_EQ(textat(35, 2, 8), "e027.sid") << "23 entries above the bar";
    EXPECT_EQ(textat(35, 25, 8), "e050.sid");
    EXPECT_EQ(textat(35, 49, 8), "e074.sid") << "24 entries below it";
    EXPECT_TRUE(rowblank(1));

    selpos = 99;
    selector::drawselector();
    EXPECT_EQ(textat(35, 25, 8), "e099.sid");
    EXPECT_TRUE(rowblank(26));
}

TEST_F(ScreenTest, LongestLabelStartsAtColumnZero)
{
    const std::string label(78, 'L');
    selector::drawlistline(30, label, 0, true);
    EXPECT_EQ(textat(0, 30, 78), label);
    EXPECT_EQ(cell(0, 30).attr, 0x07);
    selector::drawlistline(25, "x", 0, false);
    EXPECT_EQ(cell(39, 25).code, 'x');
    EXPECT_NE(cell(0, 25).attr, 0x9C) << "no bar when the cursor is not allowed";
}

TEST_F(ScreenTest, EmptyListDrawsNoRows)
{
    dircount = 0;
    selpos = 0;
    selector::drawselector();
    EXPECT_EQ(selector::sellast, -1);
    for (int y = 1; y < 50; ++y) {
        EXPECT_TRUE(rowblank(y)) << y;
        EXPECT_FALSE(rowattr(y, 0x1C) || rowattr(y, 0x9C)) << y;
    }
}

// ---- cursor keys ---------------------------------------------------------

TEST_F(ScreenTest, PageKeysMoveTwentyThreeBackAndTwentyFourOn)
{
    fill(100);
    selpos = 10;
    press(SDLK_PAGEUP);
    EXPECT_EQ(selpos, 0);
    selpos = 10;
    press(SDLK_PAGEDOWN);
    EXPECT_EQ(selpos, 34);
    selpos = 80;
    press(SDLK_PAGEDOWN);
    EXPECT_EQ(selpos, 99) << "80 is not below 99 - 25";
    selpos = 74;
    press(SDLK_PAGEDOWN);
    EXPECT_EQ(selpos, 99);
    selpos = 73;
    press(SDLK_PAGEDOWN);
    EXPECT_EQ(selpos, 97);
    selpos = 24;
    press(SDLK_PAGEUP);
    EXPECT_EQ(selpos, 0);
    selpos = 25;
    press(SDLK_PAGEUP);
    EXPECT_EQ(selpos, 2);
}

TEST_F(ScreenTest, KeysAndSearchReachEveryEntryOfAHugeList)
{
    // Past every 16-bit count: the last entries are drawn, reached and found.
    constexpr int n = 70000;
    selector::dirlist.resize(n);
    fill(n);
    setentry(0, 1, "..");
    press(SDLK_END);
    EXPECT_EQ(selpos, n - 1);
    selector::drawselector();
    EXPECT_EQ(textat(34, 25, 10), "e69999.sid");
    EXPECT_EQ(textat(34, 2, 10), "e69976.sid");
    press(SDLK_PAGEUP);
    EXPECT_EQ(selpos, n - 24);
    press(SDLK_HOME);
    press(SDLK_e);
    press(SDLK_6);
    press(SDLK_9);
    press(SDLK_9);
    press(SDLK_9);
    press(SDLK_8);
    EXPECT_EQ(selpos, 69998);
    EXPECT_EQ(selector::quickpos, 69998);
}

TEST_F(ScreenTest, ShiftArrowsPageLikeThePageKeys)
{
    fill(100);
    selpos = 25;
    press(SDLK_UP, KMOD_LSHIFT);
    EXPECT_EQ(selpos, 2);
    press(SDLK_DOWN, KMOD_RSHIFT);
    EXPECT_EQ(selpos, 26);
    press(SDLK_DOWN);
    EXPECT_EQ(selpos, 27);
    press(SDLK_UP);
    EXPECT_EQ(selpos, 26);
}

TEST_F(ScreenTest, CursorStopsAtBothEnds)
{
    fill(5);
    selpos = 0;
    press(SDLK_UP);
    EXPECT_EQ(selpos, 0);
    press(SDLK_END);
    EXPECT_EQ(selpos, 4);
    press(SDLK_DOWN);
    EXPECT_EQ(selpos, 4);
    click(SDL_BUTTON_WHEELDOWN);
    EXPECT_EQ(selpos, 4);
    click(SDL_BUTTON_WHEELUP);
    EXPECT_EQ(selpos, 3);
    press(SDLK_HOME);
    EXPECT_EQ(selpos, 0);
    click(SDL_BUTTON_WHEELUP);
    EXPECT_EQ(selpos, 0);
    selpos = 3;
    press(SDLK_PERIOD);
    EXPECT_EQ(selpos, 0);
}

TEST_F(ScreenTest, PageDownInAShortListStopsOnTheLastEntry)
{
    fill(10);
    selpos = 0;
    press(SDLK_PAGEDOWN);
    EXPECT_EQ(selpos, 9);
    press(SDLK_DOWN, KMOD_SHIFT);
    EXPECT_EQ(selpos, 9);
    press(SDLK_PAGEUP);
    EXPECT_EQ(selpos, 0);
}

TEST_F(ScreenTest, EmptyListKeepsTheCursorAtZero)
{
    dircount = 0;
    selpos = 0;
    for (SDLKey k : {SDLK_DOWN, SDLK_END, SDLK_PAGEDOWN, SDLK_UP, SDLK_PAGEUP, SDLK_HOME, SDLK_RETURN, SDLK_F2}) {
        press(k);
        EXPECT_EQ(selpos, 0) << k;
        EXPECT_EQ(selector::selresult, 0) << k;
    }
    press(SDLK_DOWN, KMOD_SHIFT);
    click(SDL_BUTTON_WHEELDOWN);
    click(SDL_BUTTON_LEFT);
    EXPECT_EQ(selpos, 0);
    EXPECT_EQ(selector::selresult, 0);
    EXPECT_FALSE(selector::recordrequest);
}

TEST_F(ScreenTest, MovementKeysEndAQuickSearchButTheWheelDoesNot)
{
    fill(20);
    for (SDLKey k : {SDLK_UP, SDLK_DOWN, SDLK_HOME, SDLK_END, SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_PERIOD}) {
        selpos = 5;
        selector::quickpos = 5;
        press(k);
        EXPECT_EQ(selector::quickpos, 0) << k;
    }
    selpos = 5;
    selector::quickpos = 5;
    press(SDLK_UP, KMOD_SHIFT);
    EXPECT_EQ(selector::quickpos, 0);
    selector::quickpos = 5;
    click(SDL_BUTTON_WHEELDOWN);
    click(SDL_BUTTON_WHEELUP);
    EXPECT_EQ(selector::quickpos, 5);
    press(SDLK_F5);
    press(SDLK_TAB);
    EXPECT_EQ(selector::quickpos, 5) << "other keys are ignored";
    EXPECT_EQ(selector::selresult, 0);
}

// ---- quick search -----------------------------------------------------------

TEST_F(ScreenTest, TypingFindsNamesByPrefixInAnyCase)
{
    setentry(0, 1, "..");
    setentry(1, 0, "apple.sid");
    setentry(2, 0, "bat.sid");
    setentry(3, 0, "Beta.sid");
    setentry(4, 0, "best.ahx");
    setentry(5, 1, "bexdir");
    dircount = 6;
    selpos = 0;

    press(SDLK_b);
    EXPECT_EQ(selpos, 2);
    EXPECT_EQ(selector::quickpos, 2);
    EXPECT_EQ(selector::quickstr, "B");
    press(SDLK_e);
    EXPECT_EQ(selpos, 3);
    EXPECT_EQ(selector::quickstr, "BE");
    press(SDLK_s, KMOD_LSHIFT);
    EXPECT_EQ(selpos, 4) << "BES";
    press(SDLK_BACKSPACE);
    EXPECT_EQ(selector::quickstr, "BE");
    EXPECT_EQ(selpos, 3);
    press(SDLK_x);
    EXPECT_EQ(selpos, 5) << "directories are found by name, without brackets";
    press(SDLK_q);
    EXPECT_EQ(selpos, 5) << "a failed search keeps the cursor";
    EXPECT_EQ(selector::quickpos, 0);
    EXPECT_EQ(selector::quickstr, "BEX") << "the old prefix stays until a new search";
    EXPECT_TRUE(rowattr(25, 0xC0)) << "the bar flashes red";
    press(SDLK_a);
    EXPECT_EQ(selpos, 1) << "the next letter starts a new prefix";
    EXPECT_EQ(selector::quickstr, "A");
}

TEST_F(ScreenTest, FailedSecondLetterStartsANewPrefix)
{
    setentry(0, 1, "..");
    setentry(1, 0, "bed.sid");
    setentry(2, 0, "x.sid");
    dircount = 3;
    selpos = 0;
    press(SDLK_b);
    press(SDLK_e);
    EXPECT_EQ(selpos, 1);
    press(SDLK_x);
    EXPECT_EQ(selpos, 1);
    EXPECT_EQ(selector::quickpos, 0);
    press(SDLK_x);
    EXPECT_EQ(selpos, 2) << "X alone, not BEXX";
}

TEST_F(ScreenTest, DigitsSearchAndAMatchAtTheTopKeepsNoPrefix)
{
    setentry(0, 0, "cat.sid");
    setentry(1, 0, "cow.sid");
    setentry(2, 0, "1999.sid");
    setentry(3, 0, "o.sid");
    dircount = 4;
    selpos = 1;
    press(SDLK_1);
    EXPECT_EQ(selpos, 2);
    EXPECT_EQ(selector::quickstr, "1");
    press(SDLK_c);
    EXPECT_EQ(selpos, 2) << "1C matches nothing";
    press(SDLK_c);
    EXPECT_EQ(selpos, 0);
    EXPECT_EQ(selector::quickpos, 0) << "a find at the top leaves no search in progress";
    press(SDLK_o);
    EXPECT_EQ(selpos, 3) << "so O starts a new prefix instead of finding cow";
}

TEST_F(ScreenTest, BackspaceWithShortPrefixGoesToTheTop)
{
    fill(10);
    selpos = 6;
    selector::quickstr = "E";
    selector::quickpos = 6;
    press(SDLK_BACKSPACE);
    EXPECT_EQ(selpos, 0);
    EXPECT_EQ(selector::quickpos, 0);
    EXPECT_EQ(seltest::workdir(), root_.string()) << "not at the top: no change of directory";
}

TEST_F(ScreenTest, AltDigitsChooseTheScaleAndStartNoName)
{
    setentry(0, 0, "cat.sid");
    setentry(1, 0, "2000.sid");
    dircount = 2;
    selpos = 0;
    press(SDLK_2, KMOD_LALT);
    EXPECT_EQ(selpos, 0) << "not a search for 2";
    EXPECT_EQ(selector::quickpos, 0);
    EXPECT_EQ(screen::windowscale, 2);
    press(SDLK_9, KMOD_RALT);
    EXPECT_EQ(selpos, 0);
    EXPECT_EQ(screen::windowscale, 2);
    press(SDLK_2);
    EXPECT_EQ(selpos, 1) << "without Alt the digit searches";
    press(SDLK_1, KMOD_LALT);
    EXPECT_EQ(screen::windowscale, 1);
}

}  // namespace
