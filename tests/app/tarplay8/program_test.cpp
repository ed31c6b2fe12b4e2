// tarplay8's own play-screen keys and mouse.
#include <gtest/gtest.h>

#include <SDL.h>

#include "core/playback.h"
#include "app/playscreen.h"
#include "app/program.h"
#include "screen/video.h"
#include "synth/fm/record.h"

namespace {

class Tarplay8Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int v = 0; v < synth::voicecount; ++v) synth::voiceclear(v, false);
        synth::lastvoice = 2;  // a three-voice SID tune
        synth::fmtogglea = synth::fmtoggleb = false;
        core::quitplay = false;
    }
    static void press(SDLKey sym)
    {
        SDL_keysym key{};
        key.sym = sym;
        program::playkey(key);
    }
    static void click(uint8_t button)
    {
        SDL_Event ev{.button = {SDL_MOUSEBUTTONDOWN, 0, button, SDL_PRESSED, 100, 200}};
        program::playmouse(ev);
    }
};

TEST_F(Tarplay8Keys, EightTogglesVoiceSevenInAThreeVoiceTuneAndASSwitchTheTones)
{
    press(SDLK_8);
    for (int v = 0; v < 8; ++v) EXPECT_EQ(synth::voicemuted(v), v == 7) << v;
    press(SDLK_8);
    EXPECT_FALSE(synth::voicemuted(7));

    press(SDLK_a);
    EXPECT_TRUE(synth::fmtogglea);
    EXPECT_FALSE(synth::fmtoggleb);
    press(SDLK_s);
    press(SDLK_a);
    EXPECT_FALSE(synth::fmtogglea);
    EXPECT_TRUE(synth::fmtoggleb);
}

TEST_F(Tarplay8Keys, RightButtonLeavesAndTheLeftEditsNothing)
{
    click(SDL_BUTTON_LEFT);
    EXPECT_FALSE(core::quitplay);
    click(SDL_BUTTON_RIGHT);
    EXPECT_TRUE(core::quitplay);
}

TEST_F(Tarplay8Keys, WithAltHeldTheDigitsChooseTheScaleAndMuteNothing)
{
    for (int sym = SDLK_1; sym <= SDLK_8; ++sym) {
        SDL_Event ev{};
        ev.type = SDL_KEYDOWN;
        ev.key.keysym.sym = static_cast<SDLKey>(sym);
        ev.key.keysym.mod = KMOD_LALT;
        shell::playevent(ev);
    }
    for (int v = 0; v < 8; ++v) EXPECT_FALSE(synth::voicemuted(v)) << v;
    EXPECT_EQ(screen::windowscale, 4) << "Alt+5 to Alt+8 change nothing";
    screen::windowscale = 1;
}

}  // namespace
