// A test that opens the real video path with SDL's dummy driver: the screen
// module from its start state, and back to no window and the view's start
// state afterwards, so that no test sees another's scale or full screen.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include "portable.h"
#include "screen/video.h"

class SdlFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        portable::setenvdefault("SDL_VIDEODRIVER", "dummy");
        screen::screenreset();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    void TearDown() override
    {
        SDL_Quit();
        screen::surface = nullptr;
        screen::fullscreen = false;
        screen::windowscale = 1;
        screen::desktopwidth = screen::desktopheight = 0;
        screen::placement = {};
        screen::viewchanged = nullptr;
    }
};
