#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "core/playback.h"
#include "screen/video.h"
#include "screentest.h"

namespace {

using selector::dircount;
using selector::dirlist;
using selector::selpos;
using seltest::ScreenTest;

// A tree with <..>, <sub>, song.ahx, tune.sid in this order after sorting.
class LoopTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        makedir("sub");
        makefile("sub/inner.sid");
        makefile("tune.sid");
        makefile("song.ahx");
        selector::selectorinit();
        ASSERT_EQ(dircount, 4);
    }

    static bool run()
    {
        std::string name = "unchanged";
        const bool chosen = selector::fileselector(name);
        EXPECT_EQ(name, core::filename);
        return chosen;
    }
};

TEST_F(LoopTest, EnterOnAFileChoosesItForPlaying)
{
    push(SDLK_END);
    push(SDLK_RETURN);
    EXPECT_TRUE(run());
    EXPECT_EQ(core::filename, "tune.sid");
    EXPECT_EQ(core::songname, "tune");
    EXPECT_EQ(core::songext, ".SID");
    EXPECT_EQ(core::curplayer.load(), 7);
    EXPECT_FALSE(selector::recordrequest);
    EXPECT_EQ(selector::selresult, 13);
}

TEST_F(LoopTest, F2OnAFileChoosesItForRecording)
{
    push(SDLK_END);
    push(SDLK_F2);
    EXPECT_TRUE(run());
    EXPECT_EQ(core::filename, "tune.sid");
    EXPECT_TRUE(selector::recordrequest);

    // The next run starts with the request cleared.
    push(SDLK_RETURN);
    EXPECT_TRUE(run());
    EXPECT_FALSE(selector::recordrequest);
    EXPECT_EQ(selpos, 3) << "the cursor stays between runs";
}

TEST_F(LoopTest, BackslashAndColonBelongToTheSongName)
{
    if (!seltest::colonnames) GTEST_SKIP() << "Windows names cannot hold ':' or '\\'";
    // Listed by the text after them, but named (and recorded) by all of it.
    makefile("mix\\of:zz.sid");
    selector::builddirlist();
    push(SDLK_END);
    push(SDLK_RETURN);
    EXPECT_TRUE(run());
    EXPECT_EQ(core::filename, "mix\\of:zz.sid");
    EXPECT_EQ(core::songname, "mix\\of:zz");
    EXPECT_EQ(core::songext, ".SID");
}

TEST_F(LoopTest, EscLeavesButStillWritesTheEntry)
{
    push(SDLK_DOWN);
    push(SDLK_DOWN);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(core::filename, "song.ahx");
    EXPECT_EQ(core::songname, "song");
    EXPECT_EQ(core::songext, ".AHX");
    EXPECT_EQ(core::curplayer.load(), 6);
    EXPECT_EQ(selector::selresult, 27);
}

TEST_F(LoopTest, UnclaimedExtensionKeepsThePlayer)
{
    // A name whose extension no slot claims (the listing would not offer
    // it, but an earlier listing might still hold it).
    dirlist[3].name = "odd.xyz";
    push(SDLK_END);
    push(SDLK_RETURN);
    EXPECT_TRUE(run());
    EXPECT_EQ(core::songext, ".XYZ");
    EXPECT_EQ(core::curplayer.load(), 3);
}

TEST_F(LoopTest, EnterOnADirectoryWalksInAndTheLoopGoesOn)
{
    push(SDLK_DOWN);
    push(SDLK_RETURN);
    push(SDLK_DOWN);
    push(SDLK_RETURN);
    EXPECT_TRUE(run());
    EXPECT_EQ(seltest::workdir(), (root_ / "sub").string());
    EXPECT_EQ(core::filename, "inner.sid");
    EXPECT_EQ(dircount, 2);
}

TEST_F(LoopTest, BackspaceOnTheParentLandsOnTheDirectoryJustLeft)
{
    makedir("Sub");
    makedir("aaa");
    makedir("zzz");
    selector::builddirlist();
    selpos = static_cast<uint16_t>(indexof("sub"));
    push(SDLK_RETURN);
    push(SDLK_BACKSPACE);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(seltest::workdir(), root_.string());
    EXPECT_EQ(dirlist[selpos].name, "sub") << "letter case counts";
    EXPECT_EQ(selpos, indexof("sub"));

    // The same from the other of the two, whichever the listing shows first
    // (a Windows folder cannot hold both).
    if (seltest::casesensitivefs) {
        selpos = static_cast<uint16_t>(indexof("Sub"));
        push(SDLK_RETURN);
        push(SDLK_BACKSPACE);
        push(SDLK_ESCAPE);
        EXPECT_FALSE(run());
        EXPECT_EQ(dirlist[selpos].name, "Sub");
    }
}

TEST_F(LoopTest, EnteringASubdirectoryPutsTheCursorOnTheParent)
{
    selpos = 1;
    push(SDLK_RETURN);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(selpos, 0);
    EXPECT_EQ(core::filename, "..");
}

TEST_F(LoopTest, F2OnADirectoryWalksInWithTheCursorAtTheTop)
{
    selpos = 1;
    push(SDLK_F2);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(seltest::workdir(), (root_ / "sub").string());
    EXPECT_EQ(selpos, 0);
    EXPECT_FALSE(selector::recordrequest);
    // F2 on ".." does not look for the directory just left either.
    push(SDLK_F2);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(seltest::workdir(), root_.string());
    EXPECT_EQ(selpos, 0);
}

TEST_F(LoopTest, LeftButtonEntersDirectoriesAndPlaysFiles)
{
    selpos = 1;
    pushbutton(SDL_BUTTON_LEFT);
    pushbutton(SDL_BUTTON_WHEELDOWN);
    pushbutton(SDL_BUTTON_LEFT);
    EXPECT_TRUE(run());
    EXPECT_EQ(seltest::workdir(), (root_ / "sub").string());
    EXPECT_EQ(core::filename, "inner.sid");
    EXPECT_FALSE(selector::recordrequest);
}

TEST_F(LoopTest, CloseRequestsAndReleasesAreIgnored)
{
    pushquit();
    push(SDLK_ESCAPE, KMOD_NONE, SDL_KEYUP);
    push(SDLK_RETURN, KMOD_NONE, SDL_KEYUP);
    push(SDLK_DOWN);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(selpos, 1);
    EXPECT_EQ(core::filename, "sub");
}

TEST_F(LoopTest, AltEnterOnlyTogglesFullScreen)
{
    const bool before = screen::fullscreen;
    push(SDLK_END);
    push(SDLK_RETURN, KMOD_LALT);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_NE(screen::fullscreen, before);
    EXPECT_FALSE(selector::recordrequest);
    EXPECT_EQ(selpos, 3);
    push(SDLK_RETURN, KMOD_RALT);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(screen::fullscreen, before);
}

TEST_F(LoopTest, QuickSearchEndsWhenTheScreenIsEntered)
{
    push(SDLK_t);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(core::filename, "tune.sid");
    EXPECT_EQ(selector::quickstr, "T");
    push(SDLK_s);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(core::filename, "sub") << "S starts afresh, not TS";
}

TEST_F(LoopTest, DirectoryThatCannotBeEnteredKeepsTheWorkingDirectory)
{
    selpos = 1;
    std::filesystem::remove_all(root_ / "sub");  // the list still shows it
    push(SDLK_RETURN);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(seltest::workdir(), root_.string());
    EXPECT_EQ(dircount, 3);
    EXPECT_EQ(selpos, 0);
}

TEST_F(LoopTest, EmptyListReturnsNothingAndBackspaceReachesTheParent)
{
    if (!seltest::cwdremovable) GTEST_SKIP() << "Windows keeps the working folder from being removed";
    makedir("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(root_ / "gone");
    selector::builddirlist();
    ASSERT_EQ(dircount, 0);
    selpos = 0;
    for (SDLKey k : {SDLK_DOWN, SDLK_END, SDLK_PAGEDOWN, SDLK_RETURN, SDLK_F2}) push(k);
    pushbutton(SDL_BUTTON_LEFT);
    pushbutton(SDL_BUTTON_WHEELDOWN);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(selpos, 0);
    EXPECT_EQ(core::filename, "");
    EXPECT_EQ(core::songname, "");
    EXPECT_EQ(core::songext, "");
    EXPECT_EQ(core::curplayer.load(), 3) << "the player stays";

    push(SDLK_BACKSPACE);
    push(SDLK_ESCAPE);
    EXPECT_FALSE(run());
    EXPECT_EQ(seltest::workdir(), root_.string());
    EXPECT_EQ(dircount, 4);
    EXPECT_EQ(selpos, 0);
}

}  // namespace
