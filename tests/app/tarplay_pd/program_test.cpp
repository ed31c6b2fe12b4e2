// tarplay_pd's shell: time in 16-bit ticks moved by Return, Left and Right,
// the callback that ticks every 960 frames at 48000, the title and help,
// and an audio device that cannot be opened: every attempt to play goes
// back to the selector while a recording still writes its 48 kHz file.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/audio.h"
#include "app/audiolife.h"
#include "app/playback.h"
#include "app/playscreen.h"
#include "app/program.h"
#include "app/tarplay_pd/playclock.h"
#include "app/wavrecord.h"
#include "players/sid/sidmute.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/pd32/wave.h"
#include "synth/synth.h"
#include "portable.h"

namespace {

// A player that ticks on and ends its tune after its length in ticks.
struct {
    int loads = 0;
    int ticks = 0;
    int stops = 0;
    uint16_t length = 10;
} player;

bool load(const std::string&)
{
    ++player.loads;
    shell::settickrate(50);
    shell::settuneticks();
    shell::songticks = player.length;
    synth::lastvoice = 2;
    for (int v = 0; v < 3; ++v) {
        synth::voicefreq(v, 220 * (v + 1));
        synth::voicelevel(v, 200);
    }
    return true;
}

void tick()
{
    ++player.ticks;
    shell::tickpos = shell::tickposof(static_cast<uint64_t>(player.ticks));
    if (shell::tuneover()) shell::quitplay = true;
}

void stop() { ++player.stops; }

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
        shell::playersinit();
        shell::audioreset();
        auto& p = shell::players[7];
        p.active = true;
        p.load = load;
        p.tick = tick;
        p.stop = stop;
        p.ext = ".SID";
        shell::curplayer = 7;
        player = {};
        shell::filename = "tune.sid";
        shell::songname = "tune";
        shell::running = true;
        shell::tickpos = 0;
        shell::settickrate(50);
        shell::songticks = 15000;
        sid::sidmutes.fill(false);
        synth::wavereset();
        screen::messagesink = [this](std::string_view msg, uint8_t attr, bool wait) {
            messages.push_back({std::string(msg), attr, wait});
        };
    }
    void TearDown() override { screen::messagesink = nullptr; }

    static void press(SDLKey sym, int mod = KMOD_NONE)
    {
        SDL_keysym key{};
        key.sym = sym;
        key.mod = static_cast<SDLMod>(mod);
        program::playkey(key);
    }

    struct message {
        std::string text;
        uint8_t attr;
        bool wait;
    };
    std::vector<message> messages;
};

TEST_F(TarplayPd, LeftAndRightMoveOneSecondWithinTheTune)
{
    shell::tickpos = 51;
    press(SDLK_LEFT);
    EXPECT_EQ(shell::tickpos.load(), 1u);
    press(SDLK_LEFT);
    EXPECT_EQ(shell::tickpos.load(), 0u) << "one second or less from the start";
    shell::tickpos = 50;
    press(SDLK_LEFT);
    EXPECT_EQ(shell::tickpos.load(), 0u);

    shell::tickpos = 14949;
    press(SDLK_RIGHT);
    EXPECT_EQ(shell::tickpos.load(), 14999u);
    press(SDLK_RIGHT);
    EXPECT_EQ(shell::tickpos.load(), 0u) << "one second or less left";
    shell::tickpos = 14950;
    press(SDLK_RIGHT);
    EXPECT_EQ(shell::tickpos.load(), 0u);

    shell::tickpos = 700;
    press(SDLK_RETURN);
    EXPECT_EQ(shell::tickpos.load(), 0u);
    shell::songticks = 0;  // a tune without length: Right stays at the start
    press(SDLK_RIGHT);
    EXPECT_EQ(shell::tickpos.load(), 0u);
}

TEST_F(TarplayPd, EditKeysAndMuteSwitches)
{
    press(SDLK_7);
    EXPECT_EQ(synth::mult.load(), 7);
    press(SDLK_SPACE);
    EXPECT_TRUE(synth::snap.load());
    press(SDLK_n);
    EXPECT_TRUE(synth::link.load());
    press(SDLK_m);
    EXPECT_FALSE(synth::link.load());
    press(SDLK_w);
    for (int i = 0; i < synth::wavepoints; ++i) EXPECT_EQ(synth::waves[1][static_cast<size_t>(i)].load(), 128);
    EXPECT_EQ(synth::waves[0][0].load(), synth::initialwave[0]);
    press(SDLK_o);
    EXPECT_TRUE(sid::sidmutes[1].load());
    press(SDLK_o);
    EXPECT_FALSE(sid::sidmutes[1].load());
}

TEST_F(TarplayPd, TimeLineAndStatusCountTicks)
{
    shell::tickpos = 50 * 61;
    EXPECT_EQ(shell::timetext(), "01:01/05:00");
    EXPECT_EQ(shell::ratetext(), " 50hz");
    EXPECT_EQ(shell::uptimetext(), "");
    shell::settickrate(0);  // no division by a zero rate
    EXPECT_EQ(shell::timetext(), "00:00/00:00");
}

TEST_F(TarplayPd, CallbackTicksEveryNineHundredSixtyFrames)
{
    ASSERT_TRUE(load("x"));
    std::vector<int16_t> buf(2048 * 2);
    shell::audiocallback(nullptr, reinterpret_cast<uint8_t*>(buf.data()), 2048 * 4);
    EXPECT_EQ(player.ticks, 3) << "frames 0, 960 and 1920";
    shell::audiocallback(nullptr, reinterpret_cast<uint8_t*>(buf.data()), 2048 * 4);
    EXPECT_EQ(player.ticks, 5) << "frames 2880 and 3840";
    EXPECT_EQ(shell::blockframes.load(), 2048);
}

TEST_F(TarplayPd, TitleAndHelp)
{
    ASSERT_EQ(shell::titlebar.size(), 80u);
    EXPECT_EQ(shell::titlebar.substr(0, 30), "\xDB\xDB TARLIN SNG-Player b20091123");
    EXPECT_EQ(shell::titlebar.substr(60, 9), "UNSTABLE ");
    EXPECT_EQ(shell::titlebar.substr(69), "\xDB\xDB\xDB\xDB\xDB\xB2\xB2\xB2\xB1\xB1\xB0");
    const auto lines = program::helplines();
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_STREQ(lines[13], "          <S>: save song as .wav");
    EXPECT_STREQ(lines[15], "Greetz fly out to:");
    EXPECT_STREQ(lines[18], "  and all Chip-Music lovers");
}

TEST_F(TarplayPd, NoAudioDeviceBackToTheSelectorEveryTimeWhileRecordingWorks)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        shell::filename = "tune.sid";
        EXPECT_FALSE(shell::playstart()) << attempt;
        ASSERT_EQ(messages.size(), static_cast<size_t>(attempt + 1));
        EXPECT_EQ(messages.back().text.rfind("?Audio: ", 0), 0u) << messages.back().text;
        EXPECT_EQ(messages.back().text.substr(messages.back().text.size() - 7), "  ERROR");
        EXPECT_EQ(messages.back().attr, 0x4F);
        EXPECT_TRUE(messages.back().wait);
    }
    EXPECT_EQ(player.loads, 2);
    EXPECT_EQ(player.stops, 0) << "stop is never called";

    const auto olddir = std::filesystem::current_path();
    const std::string tmpl = portable::makescratchdir("tarplay_pd_wav_").string();
    std::filesystem::current_path(tmpl);
    shell::recordwav();
    std::filesystem::current_path(olddir);
    std::ifstream in(tmpl + "/tune.wav", std::ios::binary);
    std::vector<uint8_t> wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();  // Windows removes no file that is still open
    std::filesystem::remove_all(tmpl);

    auto le32 = [&](size_t at) { return wav[at] | wav[at + 1] << 8 | wav[at + 2] << 16 | uint32_t{wav[at + 3]} << 24; };
    // Ten ticks of 960 frames end within the third block of 4096.
    ASSERT_EQ(wav.size(), 44u + 3 * 16384);
    EXPECT_EQ(le32(24), 48000u);
    EXPECT_EQ(le32(28), 192000u);
    EXPECT_EQ(le32(4), wav.size() - 8);
    EXPECT_EQ(le32(40), wav.size() - 44);
    EXPECT_TRUE(shell::running.load());
    EXPECT_EQ(player.stops, 0);
}

}  // namespace
