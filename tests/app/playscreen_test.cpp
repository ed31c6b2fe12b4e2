// The play screen's start, keys, mouse routing and end.
#include "playscreen_fixture.h"

namespace {

using PlayScreen = PlayFixture;

TEST_F(PlayScreen, NamesLongerThanTwentyEightCharactersAreShortened)
{
    const std::string exact = "abcdefghijklmnopqrstuvwxy.ab";  // 28
    ASSERT_EQ(exact.size(), 28u);
    core::filename = exact;
    ASSERT_TRUE(shell::playstart());
    EXPECT_EQ(core::filename, exact);
    shell::playredraw();
    EXPECT_EQ(text(1, 0, 8 + 28 + 10), "Playing " + exact + " song 1 at");

    shell::playend();
    const std::string longer = "Zabcdefghijklmnopqrstuvwxy.ab";  // 29
    core::filename = longer;
    ASSERT_TRUE(shell::playstart());
    EXPECT_EQ(testplayer::rec.loadedname, longer) << "the player gets the full name";
    EXPECT_EQ(core::filename, "..." + exact);
    shell::playredraw();
    EXPECT_EQ(text(1, 0, 8 + 31 + 10), "Playing ..." + exact + " song 1 at");
    EXPECT_EQ(shell::shortname(""), "");
}

TEST_F(PlayScreen, RefusedLoadLeavesEverythingAsItWas)
{
    testplayer::cfg.loadok = false;
    const std::string name = "a name that is far longer than the display allows.tst";
    core::filename = name;
    screen::conwriteat(5, 20, "untouched");
    const screen::tconsoletype before = screen::textscreen;
    shell::displaymode = 3;
    shell::playscreen();
    EXPECT_EQ(testplayer::rec.loads, 1);
    EXPECT_EQ(testplayer::rec.stops, 0);
    EXPECT_TRUE(core::silent.load());
    EXPECT_EQ(core::filename, name);
    EXPECT_EQ(shell::displaymode, 3);
    EXPECT_TRUE(screen::textscreen == before);
}

TEST_F(PlayScreen, StartPreparesStateAndFrame)
{
    core::quitplay = true;
    core::measuredrate = 50;
    core::secondticks = 7;
    core::secondframes = 99;
    shell::displaymode = 2;
    core::playedframes = 12345;
    shell::scopescale = 9;
    for (auto& v : synth::voices) v.phase = 0x12345;
    screen::confillrows(17, 33, 0x1E);

    ASSERT_TRUE(shell::playstart());
    EXPECT_FALSE(core::quitplay.load());
    EXPECT_EQ(core::measuredrate.load(), 0u);
    EXPECT_EQ(core::secondticks.load(), 0u);
    EXPECT_EQ(core::secondframes.load(), 0u);
    EXPECT_EQ(shell::displaymode, 0) << "the help is hidden, the view kept";
    EXPECT_EQ(core::playedframes.load(), 0u);
    EXPECT_EQ(core::tickpos.load(), 0u);
    EXPECT_EQ(shell::scopescale, 1);
    EXPECT_FALSE(core::silent.load());
    for (int i = 0; i <= 2; ++i) EXPECT_EQ(synth::voices[i].phase.load(), 0u) << i;
    EXPECT_EQ(synth::voices[3].phase.load(), 0x12345u) << "only the tune's voices";

    EXPECT_EQ(text(0), shell::titlebar);
    EXPECT_EQ(cell(0, 0).attr, 15);
    EXPECT_EQ(cell(79, 0).attr, 15);
    for (int x : {0, 40, 79}) {
        EXPECT_EQ(cell(x, 3).code, 0xDC);
        EXPECT_EQ(cell(x, 3).attr, 0x09);
        EXPECT_EQ(cell(x, 5).code, 0xDF);
        EXPECT_EQ(cell(x, 5).attr, 0x09);
        EXPECT_EQ(cell(x, 6).code, 0xDC);
        EXPECT_EQ(cell(x, 6).attr, 0x0F);
        EXPECT_EQ(cell(x, 10).code, 0xDF) << "below the third voice";
        EXPECT_EQ(cell(x, 10).attr, 0x0F);
    }
    EXPECT_EQ(cell(0, 11).code, ' ');
    EXPECT_TRUE(rowsblank(17, 49));
    EXPECT_EQ(screen::curattr, 7);
    shell::playend();
}

TEST_F(PlayScreen, FourVoiceTunesMoveTheLowerRule)
{
    testplayer::cfg.lastvoice = 3;
    ASSERT_TRUE(shell::playstart());
    EXPECT_EQ(cell(0, 11).code, 0xDF);
    EXPECT_EQ(cell(79, 11).attr, 0x0F);
    EXPECT_EQ(synth::voices[3].phase.load(), 0u);
    EXPECT_EQ(shell::layout.columnwidth, 20);
    EXPECT_EQ(shell::layout.leftmargin, 3);
    shell::playend();
}

TEST_F(PlayScreen, LayoutFollowsTheNumberOfVoices)
{
    const shell::playlayout three = shell::makelayout(2);
    EXPECT_EQ(three.columnwidth, 26);
    EXPECT_TRUE(three.wide);
    EXPECT_EQ(three.baroffset, 7);
    EXPECT_EQ(three.barspacing, 3);
    EXPECT_EQ(three.leftmargin, 6);
    EXPECT_EQ(three.spacer, " ");
    EXPECT_EQ(three.gapa, "r");
    EXPECT_EQ(three.gapb, "\xDC");
    EXPECT_EQ(three.emptynote, "===");

    const shell::playlayout four = shell::makelayout(3);
    EXPECT_EQ(four.columnwidth, 20);
    EXPECT_EQ(four.leftmargin, 3);
    EXPECT_TRUE(four.wide);

    // Five voices is the first narrow layout.
    const shell::playlayout five = shell::makelayout(4);
    EXPECT_FALSE(five.wide);
    EXPECT_EQ(five.columnwidth, 16);
    EXPECT_EQ(five.baroffset, 4);
    EXPECT_EQ(five.barspacing, 2);
    EXPECT_EQ(five.leftmargin, 4);
    EXPECT_EQ(five.spacer, "");
    EXPECT_EQ(five.gapa, "");
    EXPECT_EQ(five.gapb, "");
    EXPECT_EQ(five.emptynote, "==");

    const shell::playlayout nine = shell::makelayout(8);
    EXPECT_EQ(nine.columnwidth, 8);
    EXPECT_EQ(nine.leftmargin, 0);
}

TEST_F(PlayScreen, SubsongKeysStayInsideTheRange)
{
    testplayer::cfg.lastsong = 0;
    ASSERT_TRUE(shell::playstart());
    key(SDLK_DOWN);
    EXPECT_EQ(core::cursong.load(), 0) << "one subsong: Down does nothing";
    key(SDLK_UP);
    EXPECT_EQ(core::cursong.load(), 0);
    shell::playend();

    testplayer::cfg.lastsong = 2;
    ASSERT_TRUE(shell::playstart());
    key(SDLK_UP);
    EXPECT_EQ(core::cursong.load(), 0) << "Up at subsong 0 does nothing";
    key(SDLK_DOWN);
    EXPECT_EQ(core::cursong.load(), 1);
    play(882);
    EXPECT_EQ(testplayer::rec.songchanges, 1) << "the player picks the change up at its next tick";
    EXPECT_EQ(testplayer::rec.song, 1);
    key(SDLK_DOWN);
    key(SDLK_DOWN);
    EXPECT_EQ(core::cursong.load(), 2) << "Down at the last subsong does nothing";
    key(SDLK_UP);
    EXPECT_EQ(core::cursong.load(), 1);
    shell::playredraw();
    EXPECT_EQ(text(1, 0, 26), "Playing tune.tst song 2 at");
    shell::playend();
}

TEST_F(PlayScreen, ReturnAndLeftRestartTheTune)
{
    for (SDLKey k : {SDLK_RETURN, SDLK_LEFT}) {
        testplayer::install();
        ASSERT_TRUE(shell::playstart());
        play(882 * 100);
        ASSERT_EQ(core::tickpos.load(), 100u);
        key(k);
        EXPECT_EQ(core::tickpos.load(), 0u);
        EXPECT_EQ(core::playedframes.load(), 0u);
        play(882);
        EXPECT_EQ(testplayer::rec.restarts, 1);
        EXPECT_EQ(core::tickpos.load(), 1u);
        shell::playend();
        core::playersinit();
    }
}

TEST_F(PlayScreen, RightSkipsOneSecondOfTicks)
{
    testplayer::cfg.rate = 60;
    ASSERT_TRUE(shell::playstart());
    play(735 * 10);
    ASSERT_EQ(core::tickpos.load(), 10u);
    const uint64_t frames = core::playedframes;
    key(SDLK_RIGHT);
    EXPECT_EQ(core::tickpos.load(), 70u);
    EXPECT_EQ(core::playedframes.load(), frames + 60u * 735u);
    play(735);
    EXPECT_EQ(testplayer::rec.skippedticks, 60u);
    EXPECT_EQ(core::tickpos.load(), 71u);
    EXPECT_EQ(testplayer::rec.restarts, 0);
    shell::playend();
}

TEST_F(PlayScreen, MuteKeysToggleTheFirstThreeVoices)
{
    ASSERT_TRUE(shell::playstart());
    std::vector<int16_t> sound = play(4096);
    bool loud = false;
    for (int16_t s : sound) loud = loud || s != 0;
    EXPECT_TRUE(loud) << "the test tune sounds";

    key(SDLK_i);
    EXPECT_NE(synth::voices[0].muted.load(), 0);
    EXPECT_EQ(synth::voices[1].muted.load(), 0);
    key(SDLK_o);
    key(SDLK_p);
    EXPECT_NE(synth::voices[1].muted.load(), 0);
    EXPECT_NE(synth::voices[2].muted.load(), 0);
    EXPECT_EQ(synth::voices[3].muted.load(), 0);
    sound = play(4096);
    for (int16_t s : sound) ASSERT_EQ(s, 0) << "all three voices muted";

    key(SDLK_i);
    EXPECT_EQ(synth::voices[0].muted.load(), 0) << "a second press unmutes";
    sound = play(4096);
    loud = false;
    for (int16_t s : sound) loud = loud || s != 0;
    EXPECT_TRUE(loud);
    shell::playend();
    for (auto& v : synth::voices) v.muted = 0;
}

TEST_F(PlayScreen, TabSwitchesViewsAndClearsTheLowerArea)
{
    ASSERT_TRUE(shell::playstart());
    ASSERT_EQ(shell::displaymode, 1);
    screen::conwriteat(2, 30, "stale text");
    screen::conwriteat(2, 49, "bottom row");
    screen::framebuf[136 * 640 + 5] = 77;
    screen::framebuf[391 * 640 + 600] = 77;
    screen::framebuf[392 * 640 + 5] = 77;
    screen::framebuf[135 * 640 + 5] = 77;
    key(SDLK_TAB);
    EXPECT_EQ(shell::displaymode, 0);
    EXPECT_TRUE(rowsblank(17, 49));
    EXPECT_EQ(pixel(5, 136), 0);
    EXPECT_EQ(pixel(600, 391), 0);
    EXPECT_EQ(pixel(5, 392), 77) << "pixel rows below 391 are left";
    EXPECT_EQ(pixel(5, 135), 77) << "pixel rows above 136 are left";
    key(SDLK_TAB);
    EXPECT_EQ(shell::displaymode, 1);
    shell::displaymode = 3;
    key(SDLK_TAB);
    EXPECT_EQ(shell::displaymode, 0) << "Tab also hides the help";
    shell::playend();
}

TEST_F(PlayScreen, HelpShowsFromRowSeventeenAndRedrawsLeaveIt)
{
    auto& other = core::players[core::freeslot()];
    other.active = true;
    other.ext = ".OTH";
    other.info = "another player";
    ASSERT_TRUE(shell::playstart());
    shell::playredraw();
    key(SDLK_h);
    EXPECT_EQ(shell::displaymode, 3);
    EXPECT_EQ(trimmed(37), "Plugins found:");
    EXPECT_EQ(trimmed(38), "  .OTH|another player");
    EXPECT_EQ(trimmed(39), "  .TST|test player");
    EXPECT_EQ(trimmed(40), "");
    EXPECT_EQ(trimmed(24), "Keyz:");
    EXPECT_EQ(cell(0, 24).attr, 7);

    const screen::tconsoletype before = screen::textscreen;
    play(882 * 5);
    shell::playredraw();
    shell::playredraw();
    for (int y = 17; y <= 49; ++y)
        for (int x = 0; x < (y == 49 ? 73 : 80); ++x)
            ASSERT_TRUE(screen::textscreen[y * 80 + x] == before[y * 80 + x]) << x << "," << y;

    key(SDLK_h);
    EXPECT_EQ(shell::displaymode, 1);
    EXPECT_TRUE(rowsblank(17, 49));
    shell::playend();
}

TEST_F(PlayScreen, AltReturnSwitchesFullscreenWithoutRestarting)
{
    ASSERT_TRUE(shell::playstart());
    play(882 * 3);
    const bool was = screen::fullscreen;
    key(SDLK_RETURN, KMOD_LALT);
    EXPECT_NE(screen::fullscreen, was);
    EXPECT_EQ(core::tickpos.load(), 3u);
    key(SDLK_RETURN, KMOD_RALT);
    EXPECT_EQ(screen::fullscreen, was);
    EXPECT_EQ(core::tickpos.load(), 3u);
    shell::playend();
}

TEST_F(PlayScreen, WaveKeysEditThePair)
{
    ASSERT_TRUE(shell::playstart());
    key(SDLK_e);
    key(SDLK_r);
    int changed = 0;
    for (int i = 0; i < 6; ++i) changed += synth::waveparams[i] != 128;
    EXPECT_GE(changed, 4) << "random values are seldom all 128";
    key(SDLK_q);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(synth::waveparams[i].load(), 128);
    key(SDLK_w);
    for (int i = 3; i < 6; ++i) EXPECT_EQ(synth::waveparams[i].load(), 128);
    key(SDLK_SPACE);
    EXPECT_EQ(synth::waveset, 2);
    key(SDLK_e);
    changed = 0;
    for (int i = 6; i < 9; ++i) changed += synth::waveparams[i] != 128;
    EXPECT_GE(changed, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(synth::waveparams[i].load(), 128);
    key(SDLK_SPACE);
    EXPECT_EQ(synth::waveset, 0);
    key(SDLK_t);
    EXPECT_EQ(synth::waveset, 2) << "T, as the help screen says, swaps the pair too";
    key(SDLK_t);
    EXPECT_EQ(synth::waveset, 0);
    shell::playend();
}

TEST_F(PlayScreen, MouseEventsReachTheWaveEditor)
{
    ASSERT_TRUE(shell::playstart());
    synth::waveparams[2] = 10;
    synth::waveparams[4] = 30;
    synth::waveparams[6] = 100;
    // First column of the destination wave: averages with the source's last byte.
    shell::playevent(buttonevent(330, 200, 3));
    EXPECT_EQ(synth::waveparams[3].load(), 20);
    // Last column: averages with the next wave's first byte.
    shell::playevent(buttonevent(320 + 216, 200, 3));
    EXPECT_EQ(synth::waveparams[5].load(), (30 + 100) / 2);

    shell::playevent(buttonevent(330, 391, 1));
    EXPECT_EQ(synth::waveparams[3].load(), 0);
    shell::playevent(motionevent(10, 291, 1));
    EXPECT_EQ(synth::waveparams[0].load(), 100);
    shell::playevent(motionevent(10, 200, 3));
    EXPECT_EQ(synth::waveparams[0].load(), 100) << "dragging with two buttons edits nothing";
    shell::playevent(buttonevent(130, 300, 4));
    EXPECT_EQ(synth::waveparams[1].load(), 129);
    shell::playevent(buttonevent(130, 135, 1));
    EXPECT_EQ(synth::waveparams[1].load(), 129) << "above the editing area";
    shell::playend();
}

TEST_F(PlayScreen, RedrawClockNeedsMoreThanTwentyMilliseconds)
{
    ASSERT_TRUE(shell::playstart());
    EXPECT_TRUE(shell::redrawdue(5000)) << "the clock starts from a reading of 0";
    EXPECT_FALSE(shell::redrawdue(5010));
    EXPECT_FALSE(shell::redrawdue(5020)) << "exactly 20 ms is not enough";
    EXPECT_TRUE(shell::redrawdue(5021));
    EXPECT_FALSE(shell::redrawdue(5041));
    EXPECT_TRUE(shell::redrawdue(5042));
    // A clock that steps back counts the distance.
    EXPECT_FALSE(shell::redrawdue(5032));
    EXPECT_TRUE(shell::redrawdue(5021));
    shell::playend();
}

TEST_F(PlayScreen, PassSleepsUntilTheRedrawAndTakesEveryPendingEvent)
{
    testplayer::cfg.lastsong = 5;
    ASSERT_TRUE(shell::playstart());
    EXPECT_EQ(shell::msuntilredraw(5000), 0u) << "the clock starts from a reading of 0";
    EXPECT_TRUE(shell::redrawdue(5000));
    EXPECT_EQ(shell::msuntilredraw(5000), 21u);
    EXPECT_EQ(shell::msuntilredraw(5015), 6u);
    EXPECT_FALSE(shell::redrawdue(5020));
    EXPECT_EQ(shell::msuntilredraw(5020), 1u);
    EXPECT_EQ(shell::msuntilredraw(5030), 0u);
    EXPECT_EQ(shell::msuntilredraw(5010), 0u) << "a clock that steps back counts the distance";

    pushkey(SDLK_DOWN);
    pushkey(SDLK_DOWN);
    pushkey(SDLK_DOWN);
    const uint32_t before = SDL_GetTicks();
    shell::playpass();
    EXPECT_EQ(core::cursong.load(), 3) << "all three keys in one pass";
    EXPECT_LE(SDL_GetTicks() - before, 200u);
    shell::playend();
}

TEST_F(PlayScreen, EscapeEndsTheLoopAndSilencesBeforeStop)
{
    testplayer::cfg.lastsong = 3;
    pushkey(SDLK_DOWN);
    pushkey(SDLK_DOWN);
    pushkey(SDLK_ESCAPE);
    pushkey(SDLK_DOWN);
    shell::playscreen();
    EXPECT_EQ(core::cursong.load(), 2) << "one event per pass, none after Escape";
    EXPECT_EQ(testplayer::rec.stops, 1);
    EXPECT_TRUE(testplayer::rec.silentatstop);
    EXPECT_TRUE(core::silent.load());
    EXPECT_TRUE(core::quitplay.load());
    SDL_Event rest;
    EXPECT_EQ(SDL_PollEvent(&rest), 1) << "the key after Escape stays queued";
}

TEST_F(PlayScreen, MessagesFromTheAudioThreadAreShownAndTheFrameRestored)
{
    ASSERT_TRUE(shell::playstart());
    for (int i = 0; i < 9; ++i) shell::playredraw();  // scroll the information line
    const std::string inforow = text(4);
    clearonmessage = true;
    core::postmessage("?Tune stopped  ERROR");
    shell::playpass();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "?Tune stopped  ERROR");
    EXPECT_EQ(messages[0].attr, 0x4F);
    EXPECT_TRUE(messages[0].wait);
    EXPECT_EQ(text(0), shell::titlebar);
    EXPECT_EQ(cell(10, 3).code, 0xDC);
    EXPECT_EQ(cell(10, 10).code, 0xDF);
    EXPECT_EQ(text(4), inforow);
    EXPECT_EQ(cell(40, 4).attr, 0x1F);
    EXPECT_EQ(cell(0, 4).attr, 0x18);
    shell::playpass();
    EXPECT_EQ(messages.size(), 1u) << "a message is shown once";
    shell::playend();
}

TEST_F(PlayScreen, RestartClearsTheNoteDisplayAfterTheNextRedraw)
{
    shell::displaymode = 0;
    ASSERT_TRUE(shell::playstart());
    for (int i = 0; i < 12; ++i) {
        play(882 * 2);
        shell::playredraw();
        shell::checkrestart();
    }
    EXPECT_FALSE(rowsblank(18, 47)) << "the history has filled";
    EXPECT_EQ(text(1, 69, 11), "00:00/00:00");
    play(44100);
    shell::playredraw();
    EXPECT_EQ(text(1, 69, 5), "00:01");

    key(SDLK_RETURN);
    play(882);
    shell::checkrestart();
    EXPECT_FALSE(rowsblank(18, 47)) << "nothing happens before the redraw";
    shell::playredraw();
    EXPECT_EQ(text(1, 69, 5), "00:00");
    EXPECT_FALSE(rowsblank(18, 47));
    shell::checkrestart();
    EXPECT_TRUE(rowsblank(17, 49));
    EXPECT_EQ(shell::lastscrolltick, core::tickpos.load());
    EXPECT_EQ(shell::displaytick, core::tickpos.load());
    shell::playend();
}

TEST_F(PlayScreen, TheInformationLineGoesOnWithTheNotesOfThePlayingSubsong)
{
    testplayer::cfg.lastsong = 1;
    testplayer::cfg.info = "INFO ";
    testplayer::cfg.notes = {"WHOLE", {"", "SECOND"}};
    ASSERT_TRUE(shell::playstart());
    // Scrolled so far that cell 0 shows the text's first character.
    shell::scrollpos = 80;
    shell::restoreplayframe();
    EXPECT_EQ(trimmed(4), "INFO   WHOLE");
    core::cursong = 1;
    shell::restoreplayframe();
    EXPECT_EQ(trimmed(4), "INFO   WHOLE    SECOND");

    // The line starts again only after the notes have scrolled through.
    const uint16_t total = static_cast<uint16_t>(5 + core::notesline(1).size());
    for (const uint16_t from : {uint16_t(5 + 79), uint16_t(total + 78), uint16_t(total + 79)}) {
        shell::scrollpos = from;
        for (int i = 0; i < 3; ++i) shell::playredraw();
        EXPECT_EQ(shell::scrollpos, from == total + 79 ? 1 : from + 1) << from;
    }
    shell::playend();

    // The next tune brings no notes: none are left over.
    testplayer::cfg.notes = {};
    core::cursong = 0;
    ASSERT_TRUE(shell::playstart());
    shell::scrollpos = 80;
    shell::restoreplayframe();
    EXPECT_EQ(trimmed(4), "INFO");
    shell::playend();
}

TEST_F(PlayScreen, AMouseDragEditsTheSameWaveValuesAtTwoTimesAndInFullScreen)
{
    ASSERT_TRUE(shell::playstart());
    // Clicks, drags and the wheel over both halves of the editor, in the
    // screen's own pixels.
    struct step {
        int x, y;
        uint8_t buttonorstate;
        bool motion;
    };
    const step steps[] = {
        {330, 391, 1, false}, {10, 291, 1, true}, {45, 250, 1, true}, {90, 170, 1, true}, {130, 300, 4, false},
        {560, 200, 1, true},  {600, 180, 3, false}, {200, 140, 1, false}, {250, 390, 1, true},
    };
    auto run = [&](int k, int ox, int oy) {
        for (int i = 0; i < synth::waveparamcount; ++i) synth::waveparams[i] = static_cast<uint8_t>(128 + i);
        std::vector<SDL_Event> events;
        for (const step& s : steps) {
            // Anywhere inside the pixel's block.
            const int x = ox + s.x * k + (k - 1), y = oy + s.y * k + k / 2;
            events.push_back(s.motion ? motionevent(x, y, s.buttonorstate) : buttonevent(x, y, s.buttonorstate));
        }
        // On the black border a click edits nothing (at 1x, unmapped, the
        // same numbers would edit the source wave).
        if (ox > 0) events.push_back(buttonevent(ox - 1, oy + 300, 1));
        if (oy > 0) events.push_back(motionevent(ox + 100, oy - 1, 1));
        for (SDL_Event& e : events) EXPECT_EQ(SDL_PushEvent(&e), 0);
        SDL_Event left;
        while (SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) shell::playpass();
        std::vector<int> values;
        for (int i = 0; i < synth::waveparamcount; ++i) values.push_back(synth::waveparams[i]);
        return values;
    };
    const std::vector<int> one = run(1, 0, 0);
    EXPECT_NE(one[0], 128) << "the drag edits";

    screen::windowscale = 2;
    screen::setvideomode(false);
    EXPECT_EQ(run(2, 0, 0), one) << "2x";

    screen::desktopwidth = 1920;
    screen::desktopheight = 1080;
    screen::setvideomode(true);
    ASSERT_EQ(screen::placement, (screen::tplacement{2, 320, 140}));
    EXPECT_EQ(run(2, 320, 140), one) << "full screen";

    screen::desktopwidth = screen::desktopheight = 0;
    screen::windowscale = 1;
    screen::setvideomode(true);
    EXPECT_FALSE(screen::fullscreen);
    shell::playend();
}

}  // namespace
