// tarplay_pd's shell: time in 16-bit ticks moved by Return, Left and Right,
// its mute keys, and an audio device that cannot be opened.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/audio.h"
#include "app/audiolife.h"
#include "app/continuous.h"
#include "app/settings.h"
#include "core/playback.h"
#include "core/tickcontract.h"
#include "core/tuneclock.h"
#include "app/playscreen.h"
#include "app/program.h"
#include "core/tuneclock_ticks.h"
#include "app/wavrecord.h"
#include "players/sid/sidregs_decoded.h"
#include "synth/pd32/wave.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/synth.h"
#include "portable.h"

namespace {

// A player that ends its tune after 10 ticks and counts its calls.
struct { int loads = 0, ticks = 0, stops = 0; } player;

bool load(const std::string&)
{
    ++player.loads;
    core::settickrate(50);
    core::clocklength();
    core::songticks = 10;
    core::tickcontractreset();
    return true;
}

const core::tickhooks hooks = {
    [](uint8_t) {},
    [] {
        ++player.ticks;
        return true;
    },
    [] { return static_cast<uint64_t>(player.ticks); },
    [] { return uint8_t{0}; },
    false,
    false,
};

void tick()
{
    core::playertick(hooks);
}

class TarplayPd : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const bool sdlready = [] {
            portable::setenvalways("SDL_VIDEODRIVER", "dummy");
            portable::setenvalways("SDL_AUDIODRIVER", "nosuchaudiodriver");
            if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) return false;
            screen::screeninit();
            screen::screenrows = 50;
            screen::setvideomode(false);
            return true;
        }();
        ASSERT_TRUE(sdlready) << SDL_GetError();
        synth::synthinit();
        core::playersinit();
        core::audioreset();
        auto& p = core::players[7];
        p.active = true;
        p.load = load;
        p.tick = tick;
        p.stop = [] { ++player.stops; };
        core::curplayer = 7;
        player = {};
        core::filename = "tune.sid";
        core::songname = "tune";
        core::recording = false;
        core::settickrate(50);
        core::songticks = 15000;
        sid::sidmutes.fill(false);
        screen::messagesink = [this](std::string_view msg, uint8_t attr, bool wait) {
            messages.push_back({std::string(msg), attr, wait});
        };
    }
    void TearDown() override { screen::messagesink = nullptr; }

    static void press(SDLKey sym)
    {
        SDL_keysym key{};
        key.sym = sym;
        program::playkey(key);
    }

    struct message { std::string text; uint8_t attr; bool wait; };
    std::vector<message> messages;
};

TEST_F(TarplayPd, PlayKeysAndTimeInTicks)
{
    // Length 15000 ticks at 50 per second: Left and Right move one second.
    const struct { SDLKey key; uint16_t from, to; } cases[] = {
        {SDLK_LEFT, 51, 1},         {SDLK_LEFT, 50, 0},     {SDLK_LEFT, 1, 0},     {SDLK_RETURN, 700, 0},
        {SDLK_RIGHT, 14949, 14999}, {SDLK_RIGHT, 14950, 0}, {SDLK_RIGHT, 14999, 0},
    };
    for (const auto& c : cases) {
        core::tickpos = c.from;
        press(c.key);
        EXPECT_EQ(core::tickpos.load(), c.to) << c.key << " from " << c.from;
    }
    core::tickpos = 50 * 61;
    EXPECT_EQ(shell::timetext(), "01:01/05:00");

    press(SDLK_o);  // the mute flag of voice 1 lives in the SID model
    EXPECT_TRUE(sid::sidmutes[1].load());
    EXPECT_FALSE(sid::sidmutes[0].load());
}

TEST_F(TarplayPd, NoAudioDeviceBackToTheSelectorEveryTimeWhileRecordingWorks)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(shell::playstart()) << attempt;
        ASSERT_EQ(messages.size(), static_cast<size_t>(attempt + 1));
        const auto& m = messages.back();
        EXPECT_EQ(m.text.rfind("?Audio: ", 0), 0u) << m.text;
        EXPECT_EQ(m.text.substr(m.text.size() - 7), "  ERROR");
        EXPECT_EQ(m.attr, 0x4F);
        EXPECT_TRUE(m.wait);
    }
    EXPECT_EQ(player.loads, 2);

    const auto olddir = std::filesystem::current_path();
    const std::string tmp = portable::makescratchdir("tarplay_pd_wav_").string();
    std::filesystem::current_path(tmp);
    EXPECT_TRUE(shell::recordwav());
    std::filesystem::current_path(olddir);
    std::ifstream in(tmp + "/tune.wav", std::ios::binary);
    std::vector<uint8_t> wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();  // Windows removes no file that is still open
    std::filesystem::remove_all(tmp);

    auto le32 = [&](size_t at) { return wav[at] | wav[at + 1] << 8 | wav[at + 2] << 16 | uint32_t{wav[at + 3]} << 24; };
    // Ten ticks of 960 frames end within the third block of 4096 frames.
    ASSERT_EQ(wav.size(), 44u + 3 * 16384);
    EXPECT_EQ(le32(24), 48000u);
    EXPECT_EQ(le32(28), 192000u);
    EXPECT_EQ(player.stops, 0) << "stop is never called";
}

TEST_F(TarplayPd, TheTuneEndsAtItsLengthInTicksForContinuousPlay)
{
    // Ten ticks long: the tenth tick reports the end, once, whatever the
    // frames played; with continuous play on, the last subsong's end ends
    // the play screen.
    ASSERT_TRUE(load("tune.sid"));
    core::playedframes = 0;
    core::songframes = 0;  // the frame count plays no part here
    core::tuneended = false;
    core::quitplay = false;
    for (int t = 1; t <= 9; ++t) {
        tick();
        EXPECT_FALSE(core::tuneended.load()) << t;
    }
    tick();
    EXPECT_TRUE(core::tuneended.load());
    core::tuneended = false;
    tick();
    EXPECT_FALSE(core::tuneended.load()) << "reported once";
    // A restart and the end comes again.
    core::tickpos = 0;
    player.ticks = 0;  // what a player's start does
    for (int t = 0; t < 10; ++t) tick();
    EXPECT_TRUE(core::tuneended.load());
    core::lastsong = 0;
    settings::current.continuous = true;
    shell::continuousstep();
    EXPECT_TRUE(core::quitplay.load());
    settings::current.continuous = false;
}

TEST_F(TarplayPd, WithAltHeldTheDigitsChooseTheScaleAndLeaveTheWaveAlone)
{
    synth::mult = 2;
    for (int sym = SDLK_0; sym <= SDLK_9; ++sym) {
        SDL_Event ev{};
        ev.type = SDL_KEYDOWN;
        ev.key.keysym.sym = static_cast<SDLKey>(sym);
        ev.key.keysym.mod = KMOD_RALT;
        shell::playevent(ev);
    }
    EXPECT_EQ(synth::mult.load(), 2);
    EXPECT_EQ(screen::windowscale, 4);
    EXPECT_EQ(screen::surface->w, 640 * 4);
    screen::windowscale = 1;
    screen::setvideomode(false);
}

}  // namespace
