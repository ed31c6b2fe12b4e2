// What a redraw puts on the text screen and into the pixel frame.
#include "playscreen_fixture.h"

namespace {

class PlayDraw : public PlayFixture {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        if (HasFatalFailure()) return;
    }

    void start(uint8_t mode, uint8_t lastvoice = 2)
    {
        shell::displaymode = mode;
        testplayer::cfg.lastvoice = lastvoice;
        ASSERT_TRUE(shell::playstart());
    }

    static void setvoice(int i, uint16_t notefrac, uint8_t octave, uint8_t control, uint8_t level, uint8_t pulse,
                         uint8_t filter, uint8_t noise = 0)
    {
        auto& v = synth::voices[i];
        v.notefrac = notefrac;
        v.octave = octave;
        v.control = control;
        v.level = level;
        v.pulse = pulse;
        v.filter = filter;
        v.noise = noise;
    }

    static uint8_t background(const screen::tchardata& c) { return c.attr >> 4; }

    void TearDown() override
    {
        shell::playend();
        for (auto& v : synth::voices) v.muted = 0;
        PlayFixture::TearDown();
    }
};

TEST_F(PlayDraw, StatusLineShowsTheRunningCountUntilARateIsMeasured)
{
    start(1);
    screen::conwriteat(0, 2, "junk on the second row");
    core::secondticks = 37;
    shell::playredraw();
    EXPECT_EQ(text(1, 0, 35), "Playing tune.tst song 1 at  37hz   ");
    EXPECT_EQ(cell(0, 1).attr, 7);
    EXPECT_EQ(trimmed(2), "") << "row 2 is cleared";
    core::measuredrate = 100;
    shell::playredraw();
    EXPECT_EQ(text(1, 0, 32), "Playing tune.tst song 1 at 100hz");
}

TEST_F(PlayDraw, TimeShowsMinutesModuloOneHundred)
{
    start(1);
    core::playedframes = 44100ull * 125 + 44099;
    core::songframes = 44100ull * 6005;
    shell::playredraw();
    EXPECT_EQ(text(1, 69, 11), "02:05/00:05");
    EXPECT_EQ(cell(69, 1).attr, 7);
}

TEST_F(PlayDraw, DeviceTimeIsPresentedThenTakenOffTheTextScreen)
{
    start(1);
    core::uptimeframes = 44100u * (61 * 60 + 5);
    shell::playredraw();
    EXPECT_EQ(text(49, 73, 7, screen::shownscreen), " 061:05");
    EXPECT_EQ(shown(73, 49).attr, 7);
    EXPECT_EQ(text(49, 73, 6), "      ");
}

TEST_F(PlayDraw, InformationLineScrollsEveryThirdRedraw)
{
    testplayer::cfg.info = "HELLO WORLD";
    start(1);
    shell::playredraw();
    shell::playredraw();
    EXPECT_EQ(shell::scrollpos, 0);
    shell::playredraw();
    EXPECT_EQ(shell::scrollpos, 1);
    EXPECT_EQ(cell(79, 4).code, 'H');
    const uint8_t expected[80] = {0x18, 0x18, 0x17, 0x17, 0x17, 0x17};
    for (int x = 0; x < 80; ++x) {
        uint8_t a = x < 6 ? expected[x] : (x >= 74 && x <= 77) ? 0x17 : x >= 78 ? 0x18 : 0x1F;
        EXPECT_EQ(cell(x, 4).attr, a) << "cell " << x;
    }
    for (int i = 0; i < 3 * 9; ++i) shell::playredraw();
    EXPECT_EQ(text(4, 70, 10), "HELLO WORL");
    for (int i = 0; i < 3; ++i) shell::playredraw();
    EXPECT_EQ(text(4, 70, 10), "ELLO WORL ") << "the last character is not reached";
}

TEST_F(PlayDraw, InformationLinePositionWrapsToOne)
{
    testplayer::cfg.info = "AB";
    start(1);
    for (int i = 0; i < 3 * 81; ++i) shell::playredraw();
    EXPECT_EQ(shell::scrollpos, 81);
    EXPECT_EQ(cell(79, 4).code, ' ');
    for (int i = 0; i < 3; ++i) shell::playredraw();
    EXPECT_EQ(shell::scrollpos, 1) << "wraps on reaching the length + 80";
    EXPECT_EQ(cell(79, 4).code, 'A');
}

TEST_F(PlayDraw, VoiceRowsShowNotesAndHexValues)
{
    start(1);
    setvoice(0, 0x10, 4, 0x41, 0xC0, 0x80, 0x4A);
    setvoice(1, 0x35, 2, 0x81, 0x00, 0xFF, 0x00, 1);
    setvoice(2, 0xF0, 7, 0x81, 0x01, 0x0F, 0xE0, 1);
    shell::playredraw();
    EXPECT_EQ(text(7, 0, 16), "1 C#4 41C0804A  ");
    EXPECT_EQ(text(8, 0, 15), "2 === 8100FF00 ") << "level 0 shows no note";
    EXPECT_EQ(text(9, 0, 15), "3 B-7 81010FE0 ");
    const uint8_t attrs[15] = {0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
                               0x71, 0x71, 0x72, 0x72, 0x74, 0x74, 0x74};
    for (int x = 0; x < 15; ++x) EXPECT_EQ(cell(x, 7).attr, attrs[x]) << x;
    EXPECT_EQ(cell(79, 7).attr, 0x70);
    EXPECT_EQ(cell(2, 8).attr, 0x7F) << "noise voices are drawn white";
    EXPECT_EQ(cell(4, 9).attr, 0x7F);
    EXPECT_EQ(cell(5, 9).attr, 0x70);
    EXPECT_EQ(text(10, 0, 1), "\xDF") << "the rule below is kept";
}

TEST_F(PlayDraw, LevelBarsArePaintedIntoThePixelFrame)
{
    start(1);
    setvoice(0, 0, 0, 0, 0xC0, 0x80, 0x40);
    setvoice(1, 0, 0, 0, 0xFF, 0x00, 0x01);
    shell::playredraw();
    shell::playredraw();  // the first present repaints the freshly coloured cells
    // Voice 0 on text row 7: pixel rows 57..62.
    EXPECT_EQ(pixel(120, 57), 3);
    EXPECT_EQ(pixel(120 + 384, 57), 3);
    EXPECT_EQ(pixel(120 + 385, 57), 182);
    EXPECT_EQ(pixel(120 + 384, 58), 3);
    EXPECT_EQ(pixel(120 + 256, 59), 28);
    EXPECT_EQ(pixel(120 + 257, 60), 182);
    EXPECT_EQ(pixel(120 + 128, 62), 224);
    EXPECT_EQ(pixel(120 + 129, 61), 182);
    EXPECT_EQ(pixel(631, 62), 182);
    // Voice 1 on row 8: level 255 reaches x = 630, value 0 lights one pixel.
    EXPECT_EQ(pixel(630, 65), 3);
    EXPECT_EQ(pixel(631, 65), 182);
    EXPECT_EQ(pixel(120, 67), 28);
    EXPECT_EQ(pixel(121, 67), 182);
    EXPECT_EQ(pixel(122, 69), 224);
    EXPECT_EQ(pixel(123, 69), 182);
}

TEST_F(PlayDraw, NoteDisplayHeaderAndValueLines)
{
    start(0);
    setvoice(0, 0x10, 4, 0x41, 0xC0, 0x80, 0x40);
    setvoice(1, 0x00, 3, 0x41, 0x00, 0x80, 0x40);
    setvoice(2, 0x20, 1, 0x11, 0x30, 0x08, 0x07);
    shell::playredraw();
    // The headers are presented, then covered by the line of half blocks.
    EXPECT_EQ(text(17, 6, 15, screen::shownscreen), "Frq\xDCWf\xDCVl\xDCPw\xDC" "Co");
    EXPECT_EQ(text(17, 32, 15, screen::shownscreen), "Frq\xDCWf\xDCVl\xDCPw\xDC" "Co");
    EXPECT_EQ(shown(6, 17).attr, 7);
    EXPECT_EQ(text(48, 6, 15), "C#4 41 C0 80 40");
    EXPECT_EQ(text(48, 32, 15), "=== 41 00 80 40");
    EXPECT_EQ(text(48, 58, 15), "D-1 11 30 08 07");
    EXPECT_EQ(cell(6, 48).attr & 0x0F, 15);
    EXPECT_EQ(cell(32, 48).attr & 0x0F, 8);
    EXPECT_EQ(cell(58, 48).attr & 0x0F, 7);
    // The half-block lines at the top and bottom of the history.
    EXPECT_EQ(cell(0, 17).code, 0xDF);
    EXPECT_EQ(background(cell(0, 17)), 7);
    EXPECT_EQ(cell(79, 49).code, 0xDF);
    EXPECT_EQ(cell(40, 49).attr & 0x0F, 7);
}

TEST_F(PlayDraw, ValueLineColourFollowsTheLevel)
{
    start(0);
    const struct {
        uint8_t level;
        uint8_t colour;
    } cases[] = {{0x00, 8}, {0x2F, 8}, {0x30, 7}, {0x7F, 7}, {0x80, 15}, {0xFF, 15}};
    for (const auto& c : cases) {
        setvoice(0, 0, 2, 0, c.level, 0, 0);
        shell::playredraw();
        EXPECT_EQ(cell(6, 48).attr & 0x0F, c.colour) << "level " << int(c.level);
    }
    synth::voices[0].muted = 1;
    setvoice(0, 0, 2, 0, 0xFF, 0, 0);
    shell::playredraw();
    EXPECT_EQ(cell(6, 48).attr & 0x0F, 8) << "muted voices are grey";
}

TEST_F(PlayDraw, BackgroundBarsShowInThePresentedFrameOnly)
{
    start(0);
    setvoice(0, 0, 4, 0x41, 0xC0, 0x80, 0x47);
    setvoice(1, 0, 4, 0x41, 0x07, 0xFF, 0x08);
    synth::voices[2].muted = 1;
    setvoice(2, 0, 4, 0x41, 0xFF, 0xFF, 0xFF);
    shell::playredraw();
    // Voice 0 at column 6: level bars at 13-14 (24 rows), pulse at 16-17
    // (16 rows), filter at 19-20 (8 rows).
    for (int x : {13, 14}) {
        EXPECT_EQ(background(shown(x, 48)), 1);
        EXPECT_EQ(background(shown(x, 25)), 1);
        EXPECT_EQ(background(shown(x, 24)), 0);
    }
    EXPECT_EQ(shown(13, 48).attr & 0x0F, 15) << "the bar keeps the text colour";
    EXPECT_EQ(background(shown(16, 33)), 2);
    EXPECT_EQ(background(shown(17, 32)), 0);
    EXPECT_EQ(background(shown(20, 41)), 4);
    EXPECT_EQ(background(shown(19, 40)), 0);
    EXPECT_EQ(background(shown(12, 48)), 0);
    EXPECT_EQ(background(shown(15, 48)), 0);
    // Voice 1 at column 32: level 7 gives no bar, pulse 255 fills rows 18-48,
    // filter 8 one row.
    EXPECT_EQ(background(shown(39, 48)), 0);
    EXPECT_EQ(background(shown(42, 18)), 2);
    EXPECT_EQ(background(shown(43, 18)), 2);
    EXPECT_EQ(background(shown(42, 17)), 0);
    EXPECT_EQ(background(shown(45, 48)), 4);
    EXPECT_EQ(background(shown(45, 47)), 0);
    // A muted voice gets no bars.
    for (int y = 18; y <= 48; ++y)
        for (int x = 58; x < 80; ++x) ASSERT_EQ(background(shown(x, y)), 0) << x << "," << y;
    // After the present the bars are taken off again.
    for (int y = 18; y <= 48; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(background(cell(x, y)), 0) << x << "," << y;
}

TEST_F(PlayDraw, HistoryScrollsWhenMoreThanScrollTicksHavePassed)
{
    start(0);
    setvoice(0, 0, 4, 0x41, 0xC0, 0x80, 0x40);
    shell::playredraw();
    EXPECT_EQ(trimmed(47), "");
    core::tickpos = 1;
    shell::playredraw();
    EXPECT_EQ(trimmed(47), "") << "one tick is not more than scrollticks";
    core::tickpos = 2;
    setvoice(0, 0, 4, 0x41, 0xC1, 0x80, 0x40);
    shell::playredraw();
    EXPECT_EQ(text(47, 6, 15), "C-4 41 C1 80 40") << "row 48 moved up and stayed";
    EXPECT_EQ(text(48, 6, 15), "C-4 41 C1 80 40");
    EXPECT_EQ(shell::lastscrolltick, 2u);
}

TEST_F(PlayDraw, NarrowLayoutForFiveVoices)
{
    start(0, 4);
    setvoice(0, 0x10, 3, 0x41, 0xC0, 0x80, 0x40);
    setvoice(1, 0x10, 3, 0x41, 0x00, 0x80, 0x40);
    shell::playredraw();
    EXPECT_EQ(text(17, 4, 10, screen::shownscreen), "FqWfVlPwCo");
    EXPECT_EQ(text(48, 4, 13), "C341 C0 80 40");
    EXPECT_EQ(text(48, 20, 13), "==41 00 80 40");
    EXPECT_EQ(background(shown(8, 48)), 1);
    EXPECT_EQ(background(shown(9, 48)), 1);
    EXPECT_EQ(background(shown(10, 48)), 2);
    EXPECT_EQ(background(shown(12, 48)), 4);
    EXPECT_EQ(cell(0, 12).code, 0xDF) << "the rule under five voice rows";
}

TEST_F(PlayDraw, ScopeTraceScalesDownOverflowingSamples)
{
    start(1);
    core::blockframes = 640;
    const int16_t samples[] = {1000, 1000, 1000, -1000};
    for (int x = 0; x < 4; ++x) core::scopebuf[x] = samples[x];
    core::scopebuf[10] = 100;
    core::scopebuf[11] = -635;
    core::scopebuf[12] = 600;
    core::scopebuf[14] = 450;
    core::scopebuf[15] = -7;
    core::scopebuf[16] = 640;
    screen::framebuf[200 * 640 + 5] = 99;
    shell::playredraw();
    EXPECT_EQ(shell::scopescale, 6) << "one step per overflowing sample";
    const uint8_t* map = screen::colourmap;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(pixel(x, 264), map[10]) << "overflow is drawn at the centre";
    EXPECT_EQ(pixel(10, 244), map[10]);
    EXPECT_EQ(pixel(11, 391), map[12]) << "-127 reaches the bottom line";
    EXPECT_EQ(pixel(12, 144), map[12]);
    EXPECT_EQ(pixel(14, 174), map[14]);
    EXPECT_EQ(pixel(15, 265), map[10]) << "division truncates toward zero";
    EXPECT_EQ(pixel(16, 264), map[10]);
    EXPECT_EQ(pixel(5, 136), map[7]);
    EXPECT_EQ(pixel(5, 391), map[7]);
    EXPECT_EQ(pixel(5, 200), 0) << "the scope area is cleared";
    EXPECT_TRUE(rowsblank(17, 49));

    // The samples are spread over blockframes frames.
    core::blockframes = 1280;
    shell::scopescale = 1;
    for (int i = 0; i < 20; ++i) core::scopebuf[i] = 0;
    core::scopebuf[40] = 50;
    shell::playredraw();
    EXPECT_EQ(pixel(20, 214), map[10]);
}

TEST_F(PlayDraw, ScopeGridAndWaveValues)
{
    start(1);
    for (int i = 0; i < 12; ++i) synth::waveparams[i] = static_cast<uint8_t>(i + 1);
    shell::playredraw();
    EXPECT_EQ(text(16, 3, 2), "00");
    EXPECT_EQ(text(16, 11, 2), "01");
    EXPECT_EQ(text(16, 21, 2), "02");
    EXPECT_EQ(text(16, 31, 2), "03");
    EXPECT_EQ(text(16, 51, 2), "04");
    EXPECT_EQ(text(16, 61, 2), "05");
    EXPECT_EQ(text(16, 71, 2), "06");
    EXPECT_EQ(cell(11, 16).attr, 4);
    for (int gx : {96, 176, 256, 416, 496, 576}) {
        int lit = 0, beside = 0;
        for (int y = 136; y <= 391; ++y) {
            lit += pixel(gx, y) == 64;
            beside += pixel(gx + 1, y) == 64;
        }
        EXPECT_GE(lit, 250) << "grid line at " << gx;
        EXPECT_EQ(beside, 0);
    }
    synth::wavepair();
    shell::playredraw();
    EXPECT_EQ(text(16, 3, 2), "02");
    EXPECT_EQ(text(16, 11, 2), "07");
    EXPECT_EQ(text(16, 71, 2), "0C");
}

TEST_F(PlayDraw, WavePreviewsAreDrawnInBothHalves)
{
    start(1);
    shell::playredraw();
    const uint8_t* map = screen::colourmap;
    // Undistorted waves: a flat distortion curve on row 263, and the output
    // starting at the top of a cosine.
    EXPECT_EQ(pixel(32, 263), 0x17);
    EXPECT_EQ(pixel(352, 263), 0xD7);
    EXPECT_EQ(pixel(32, 136), map[12]);
    EXPECT_EQ(pixel(352, 136), map[12]);
    // Full depth on the source's first half-cycle lifts the curve's middle
    // to the top of the area.
    synth::waveparams[0] = 255;
    shell::playredraw();
    EXPECT_EQ(pixel(32 + 64, 137), 0x17);
    EXPECT_EQ(pixel(352 + 64, 263), 0xD7) << "the destination is unchanged";
}

TEST_F(PlayDraw, HelpSuppressesBothLowerViews)
{
    start(1);
    shell::displaymode = 3;
    shell::playredraw();  // the first present draws every cell
    core::blockframes = 640;
    core::scopebuf[0] = 30000;
    screen::framebuf[200 * 640 + 5] = 99;
    screen::conwriteat(0, 30, "help text");
    shell::playredraw();
    EXPECT_EQ(pixel(5, 200), 99);
    EXPECT_EQ(shell::scopescale, 1);
    EXPECT_EQ(trimmed(30), "help text");
    shell::displaymode = 2;
    setvoice(0, 0, 4, 0x41, 0xC0, 0x80, 0x40);
    shell::playredraw();
    EXPECT_EQ(trimmed(48), "");
    EXPECT_EQ(trimmed(30), "help text");
}

}  // namespace
