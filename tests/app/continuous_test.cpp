// Continuous play: the tick contract's end of a tune, the next subsong, the
// next tune of the listing past folders and files that fail to load, and
// the selector's cursor on the last tune played.
#include <filesystem>
#include <fstream>

#include "app/continuous.h"
#include "app/settings.h"
#include "core/shared.h"
#include "playscreen_fixture.h"
#include "selector/dirlist.h"
#include "selector/selector.h"

namespace {

namespace fs = std::filesystem;

class Continuous : public PlayFixture {
protected:
    fs::path saveddir;
    fs::path scratch;

    void SetUp() override
    {
        PlayFixture::SetUp();
        saveddir = fs::current_path();
        scratch = portable::makescratchdir("tarplay-cont-");
        // The key saves the setting: never into the real user's folder.
#ifdef _WIN32
        portable::setenvalways("APPDATA", (scratch / "config").string().c_str());
#else
        portable::setenvalways("XDG_CONFIG_HOME", (scratch / "config").string().c_str());
#endif
        fs::create_directory(scratch / "music");
        fs::current_path(scratch / "music");
        settings::current = settings::tsettings{};
        // 50 ticks a second at 44100: 882 frames a tick, a subsong of ten.
        testplayer::cfg.songframes = 8820;
        testplayer::cfg.lastsong = 1;
    }
    void TearDown() override
    {
        fs::current_path(saveddir);
        std::error_code ec;
        fs::remove_all(scratch, ec);
        PlayFixture::TearDown();
    }

    static void touch(const std::string& name) { std::ofstream(name) << "x"; }

    static int32_t indexof(const std::string& name)
    {
        for (int32_t i = 0; i < selector::dircount; ++i)
            if (selector::dirlist[i].name == name) return i;
        return -1;
    }

    // Lists the folder and chooses name as the selector would.
    static void choose(const std::string& name)
    {
        selector::builddirlist();
        selector::selpos = indexof(name);
        core::filename = name;
        core::cursong = 0;
    }

    // Plays until the tick contract has reported the end, then one pass of
    // the continuous step as the play screen's loop makes it.
    void playtoend()
    {
        for (int block = 0; block < 20 && !core::tuneended; ++block) play(2048);
        ASSERT_TRUE(core::tuneended.load()) << "the tune never reached its length";
        shell::continuousstep();
    }
};

TEST_F(Continuous, CrossesSubsongsAndTunesPassingOverFailuresAndEndsAtTheSelector)
{
    fs::create_directory("dir");  // folders list first and are passed over
    for (const char* n : {"a.tst", "b.tst", "c.tst", "d.tst"}) touch(n);
    touch("notes.txt");  // claimed by no player: not listed
    testplayer::cfg.refused = {"b.tst", "d.tst"};
    settings::current.continuous = true;
    choose("a.tst");

    ASSERT_TRUE(shell::playstart());
    playtoend();
    EXPECT_EQ(core::cursong.load(), 1) << "the next subsong";
    EXPECT_FALSE(core::quitplay.load());
    play(2048);
    EXPECT_EQ(testplayer::rec.song, 1);
    EXPECT_FALSE(core::tuneended.load()) << "the new subsong starts its length again";

    playtoend();
    EXPECT_TRUE(core::quitplay.load()) << "after the last subsong the play screen ends";
    shell::playend();

    ASSERT_TRUE(shell::playnexttune());
    EXPECT_EQ(testplayer::rec.loadedname, "c.tst") << "b.tst fails to load and is passed over";
    EXPECT_EQ(selector::selpos, indexof("c.tst")) << "the cursor follows the playing tune";
    EXPECT_EQ(core::cursong.load(), 0);
    EXPECT_FALSE(core::quitplay.load());
    EXPECT_TRUE(messages.empty()) << "a refusal does not wait for a key";

    playtoend();
    playtoend();
    shell::playend();
    const int loads = testplayer::rec.loads;
    EXPECT_FALSE(shell::playnexttune()) << "d.tst fails and nothing follows";
    EXPECT_EQ(testplayer::rec.loads, loads + 1);
    EXPECT_EQ(selector::selpos, indexof("c.tst")) << "back on the tune that played last";
    EXPECT_FALSE(shell::playnexttune()) << "asked for once";
}

TEST_F(Continuous, OffTheTunePlaysOnAndTheEndIsReportedOnce)
{
    touch("a.tst");
    touch("b.tst");
    choose("a.tst");
    ASSERT_TRUE(shell::playstart());
    playtoend();
    EXPECT_EQ(core::cursong.load(), 0);
    EXPECT_FALSE(core::quitplay.load());
    EXPECT_FALSE(core::tuneended.load());
    play(4 * 8820);
    EXPECT_FALSE(core::tuneended.load()) << "past its length the tune is not ended again";
    EXPECT_EQ(testplayer::rec.restarts + testplayer::rec.songchanges, 0);
    // A restart brings the time below the length: its end comes again.
    key(SDLK_LEFT);
    playtoend();
    shell::playend();
    EXPECT_FALSE(shell::playnexttune());
}

TEST_F(Continuous, TheKeyTogglesSavesAndMarksRowTwo)
{
    touch("a.tst");
    choose("a.tst");
    ASSERT_TRUE(shell::playstart());
    shell::playredraw();
    EXPECT_EQ(trimmed(2), "") << "off: row 2 stays empty";
    key(SDLK_c);
    EXPECT_TRUE(shell::continuouson());
    shell::playredraw();
    EXPECT_EQ(text(2, 65, 15), "continuous play");
    settings::current = settings::tsettings{};
    settings::loadsettings();
    EXPECT_TRUE(settings::current.continuous) << "saved when switched";
    key(SDLK_c);
    shell::playredraw();
    EXPECT_EQ(trimmed(2), "");
    settings::loadsettings();
    EXPECT_FALSE(settings::current.continuous);
    shell::playend();
}

TEST_F(Continuous, NotRaisedWhileRecording)
{
    touch("a.tst");
    choose("a.tst");
    ASSERT_TRUE(shell::playstart());
    core::recording = true;
    play(2 * 8820);
    EXPECT_TRUE(core::quitplay.load()) << "the recording ends at the length";
    EXPECT_FALSE(core::tuneended.load());
    core::recording = false;
    shell::playend();
}

}  // namespace
