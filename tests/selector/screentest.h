// The selector screen under the dummy video driver: SDL's event queue is
// real, so the screen loop runs unchanged with pushed events.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/playback.h"
#include "screen/console.h"
#include "screen/video.h"
#include "selectortest.h"

namespace seltest {

using selector::dircount;
using selector::dirlist;
using selector::selpos;

class ScreenTest : public seltest::TreeTest {
protected:
    static void SetUpTestSuite()
    {
        static bool ready = false;
        if (ready) return;
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        screen::screeninit();
        screen::screenrows = 50;
        screen::setvideomode(false);
        ready = true;
    }

    void SetUp() override
    {
        TreeTest::SetUp();
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        screen::screenrows = 50;
        selector::selrow = 25;
        selector::recordrequest = false;
        selector::selresult = 0;
        core::filename = "before";
        core::songname = "before";
        core::songext = ".BEF";
        core::curplayer = 3;
        screen::curattr = 0x07;
        screen::conclear();
    }

    static void push(SDLKey sym, int mod = KMOD_NONE, uint8_t type = SDL_KEYDOWN)
    {
        SDL_Event e{};
        e.type = type;
        e.key.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = static_cast<SDLMod>(mod);
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }

    static void pushbutton(uint8_t button)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.state = SDL_PRESSED;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }

    static void pushquit()
    {
        SDL_Event e{};
        e.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }

    // One pass of the screen loop with the given key, without the event queue.
    static void press(SDLKey sym, int mod = KMOD_NONE)
    {
        selector::drawselector();
        screen::event = SDL_Event{};
        screen::event.type = SDL_KEYDOWN;
        screen::event.key.keysym.sym = sym;
        screen::event.key.keysym.mod = static_cast<SDLMod>(mod);
        selector::selectorevent();
    }

    static void click(uint8_t button)
    {
        selector::drawselector();
        screen::event = SDL_Event{};
        screen::event.type = SDL_MOUSEBUTTONDOWN;
        screen::event.button.button = button;
        selector::selectorevent();
    }

    // A list of n files named e000.sid, e001.sid, ...
    static void fill(int n)
    {
        for (int i = 0; i < n; ++i) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "e%03d.sid", i);
            dirlist[i].isdir = 0;
            dirlist[i].name = buf;
            dirlist[i].label = buf;
        }
        dircount = n;
    }

    static void setentry(int i, uint8_t isdir, const std::string& name)
    {
        dirlist[i].isdir = isdir;
        dirlist[i].name = name;
        dirlist[i].label = isdir ? "<" + name + ">" : name;
    }

    static const screen::tchardata& cell(int x, int y) { return screen::textscreen[y * 80 + x]; }

    static std::string rowtext(int y)
    {
        std::string s;
        for (int x = 0; x < 80; ++x) s += static_cast<char>(cell(x, y).code);
        return s;
    }

    static bool rowblank(int y)
    {
        for (int x = 0; x < 80; ++x)
            if (cell(x, y).code != ' ') return false;
        return true;
    }

    static bool rowattr(int y, uint8_t attr)
    {
        for (int x = 0; x < 80; ++x)
            if (cell(x, y).attr != attr) return false;
        return true;
    }

    // Text of row y from column x on, as long as want.
    static std::string textat(int x, int y, size_t len)
    {
        return rowtext(y).substr(x, len);
    }
};

}  // namespace seltest
