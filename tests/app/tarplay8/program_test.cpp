// tarplay8's own play-screen keys and mouse: eight mute keys whatever the
// tune's voice count, the FM renderer's two switches, no wave editing, and
// the right button as a way out.
#include <gtest/gtest.h>

#include <SDL.h>

#include "app/playback.h"
#include "app/program.h"
#include "synth/fm/record.h"

namespace {

class Tarplay8Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int v = 0; v < synth::voicecount; ++v) synth::voiceclear(v, false);
        synth::lastvoice = 2;  // a three-voice SID tune
        synth::fmtogglea = false;
        synth::fmtoggleb = false;
        shell::quitplay = false;
    }
    static void press(SDLKey sym)
    {
        SDL_keysym key{};
        key.sym = sym;
        program::playkey(key);
    }
    static void click(uint8_t button)
    {
        SDL_Event ev{};
        ev.type = SDL_MOUSEBUTTONDOWN;
        ev.button.button = button;
        ev.button.x = 100;
        ev.button.y = 200;
        program::playmouse(ev);
    }
};

TEST_F(Tarplay8Keys, DigitsOneToEightToggleVoicesZeroToSeven)
{
    press(SDLK_8);
    EXPECT_TRUE(synth::voicemuted(7)) << "key 8 mutes voice 7 even in a three-voice tune";
    for (int v = 0; v < 7; ++v) EXPECT_FALSE(synth::voicemuted(v)) << v;
    press(SDLK_1);
    press(SDLK_3);
    EXPECT_TRUE(synth::voicemuted(0));
    EXPECT_FALSE(synth::voicemuted(1));
    EXPECT_TRUE(synth::voicemuted(2));
    press(SDLK_8);
    press(SDLK_9);  // there is no ninth mute key
    EXPECT_FALSE(synth::voicemuted(7));
    EXPECT_FALSE(synth::voicemuted(8));
    // tarplay's mute keys do nothing here.
    press(SDLK_i);
    press(SDLK_o);
    EXPECT_TRUE(synth::voicemuted(0));
    EXPECT_FALSE(synth::voicemuted(1));
}

TEST_F(Tarplay8Keys, AAndSSwitchTheTwoToneToggles)
{
    press(SDLK_a);
    EXPECT_TRUE(synth::fmtogglea);
    EXPECT_FALSE(synth::fmtoggleb);
    press(SDLK_s);
    press(SDLK_a);
    EXPECT_FALSE(synth::fmtogglea);
    EXPECT_TRUE(synth::fmtoggleb);
}

TEST_F(Tarplay8Keys, OnlyTheRightButtonLeavesAndTheMouseEditsNothing)
{
    const uint8_t before = synth::waveparams[3];
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_WHEELUP);
    EXPECT_FALSE(shell::quitplay);
    EXPECT_EQ(synth::waveparams[3], before);
    click(SDL_BUTTON_RIGHT);
    EXPECT_TRUE(shell::quitplay);
}

TEST_F(Tarplay8Keys, EscapeAndTheCommonKeysStillWork)
{
    shell::lastsong = 2;
    shell::cursong = 0;
    press(SDLK_DOWN);
    EXPECT_EQ(shell::cursong, 1);
    press(SDLK_ESCAPE);
    EXPECT_TRUE(shell::quitplay);
}

}  // namespace
