#include <gtest/gtest.h>

#include <string>

#include "app/helpscreen.h"
#include "app/program.h"
#include "app/system.h"
#include "core/playback.h"
#include "screen/console.h"
#include "screen/video.h"

namespace {

std::string rowtext(int row, int width = 80)
{
    std::string s;
    for (int x = 0; x < width; ++x)
        s += static_cast<char>(screen::textscreen[row * 80 + x].code & 0xFF);
    const auto end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

class HelpScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen::screeninit();
        screen::screenrows = 50;
        screen::curattr = 7;
        screen::conclear();
        core::playersinit();
    }

    void registerplayers()
    {
        auto& sidslot = core::players[core::freeslot()];
        sidslot.active = true;
        sidslot.ext = ".SID";
        sidslot.info = "SID player v0.5 | based upon vemtok 1.4 and gruvex";
        auto& ahxslot = core::players[core::freeslot()];
        ahxslot.active = true;
        ahxslot.ext = ".AHX";
        ahxslot.info = "AHX player v0.5 | build 20081019";
    }
};

TEST_F(HelpScreenTest, BannerKeysAndPluginsInOrder)
{
    registerplayers();
    shell::helpscreen();

    for (int row = 0; row < 6; ++row) {
        std::string line;
        for (int x = 0; x < 80; ++x) line += static_cast<char>(screen::textscreen[row * 80 + x].code);
        EXPECT_EQ(line[79], ' ') << "banner lines are 79 columns, row " << row;
        EXPECT_NE(rowtext(row, 79), "") << "row " << row;
    }
    EXPECT_EQ(rowtext(5).substr(79 - 9), "b20120708");
    EXPECT_EQ(rowtext(6), "");
    // The program's own lines, each within 80 columns, then the plug-ins.
    const auto lines = program::helplines();
    int row = 7;
    for (const char* line : lines) {
        EXPECT_LE(std::string(line).size(), 80u) << line;
        std::string trimmed = line;
        trimmed.erase(trimmed.find_last_not_of(' ') + 1);
        EXPECT_EQ(rowtext(row++), trimmed);
    }
    EXPECT_EQ(rowtext(row++), "");
    EXPECT_EQ(rowtext(row++), "Plugins found:");
    EXPECT_EQ(rowtext(row++), "  .AHX|AHX player v0.5 | build 20081019");
    EXPECT_EQ(rowtext(row++), "  .SID|SID player v0.5 | based upon vemtok 1.4 and gruvex");
    EXPECT_EQ(row, 23);
    // The keys every program shares, below the plug-ins, so that the rows
    // above stay where they were.
    EXPECT_EQ(rowtext(row++), "");
    EXPECT_EQ(rowtext(row++), "          <C>: continuous play on/off (in the player)");
    EXPECT_EQ(rowtext(row++), "  <ALT>+<1-4>: window scale 1x-4x, <ALT>+<ENTER>: full screen");
    EXPECT_EQ(screen::curx, 0);
    EXPECT_EQ(screen::cury, 26) << "the cursor ends below the last line";
    EXPECT_EQ(screen::textscreen[7 * 80].attr, 7) << "written in the current colour";
}

TEST_F(HelpScreenTest, WithoutPlayersTheListEndsWithItsHeading)
{
    shell::helpscreen();
    EXPECT_EQ(rowtext(20), "Plugins found:");
    EXPECT_EQ(rowtext(21), "");
    EXPECT_NE(rowtext(22), "");
    EXPECT_EQ(screen::cury, 24);
}

TEST_F(HelpScreenTest, ShownFromRowSeventeenThePlugInsEndOnRowThirtyNine)
{
    registerplayers();
    screen::congotoxy(0, 17);
    shell::helpscreen();
    EXPECT_EQ(rowtext(38), "  .AHX|AHX player v0.5 | build 20081019");
    EXPECT_EQ(rowtext(39), "  .SID|SID player v0.5 | based upon vemtok 1.4 and gruvex");
    EXPECT_EQ(rowtext(40), "") << "the play screen's row 40 stays blank";
    EXPECT_NE(rowtext(41), "");
    EXPECT_EQ(rowtext(44), "") << "and row 44";
    EXPECT_EQ(rowtext(16), "");
}

TEST_F(HelpScreenTest, ThePresentedFrameShowsTheText)
{
    registerplayers();
    shell::helpscreen();
    // Presentation has drawn the cells: the key list rows hold lit pixels,
    // the empty row between banner and keys does not.
    auto lit = [](int row) {
        for (int y = row * 8; y < row * 8 + 8; ++y)
            for (int x = 0; x < 640; ++x)
                if (screen::framebuf[y * 640 + x] != 0) return true;
        return false;
    };
    EXPECT_TRUE(lit(7));
    EXPECT_FALSE(lit(6));
    EXPECT_TRUE(lit(22));
}

TEST(TitleBar, TheProgramsTitleBetweenBlocksAndAFadeInEightyColumns)
{
    ASSERT_EQ(shell::titlebar.size(), 80u);
    EXPECT_EQ(shell::titlebar.substr(0, 2), "\xDB\xDB");
    const std::string title = program::titletext;
    EXPECT_EQ(shell::titlebar.substr(2, title.size()), title);
    EXPECT_EQ(shell::titlebar.substr(2 + title.size(), 67 - title.size()), std::string(67 - title.size(), ' '));
    EXPECT_EQ(shell::titlebar.substr(69), "\xDB\xDB\xDB\xDB\xDB\xB2\xB2\xB2\xB1\xB1\xB0");
}

}  // namespace
