// Common set-up for the play screen and recorder tests: SDL with the dummy
// video driver (for the event queue), a clean console, synth and audio state,
// and the test player in a free slot of the table.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/audio.h"
#include "core/playback.h"
#include "portable.h"
#include "app/playscreen.h"
#include "app/system.h"
#include "playscreen_player.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/pd/record.h"
#include "synth/pd/wave.h"

struct shownmessage {
    std::string text;
    uint8_t attr;
    bool wait;
};

class PlayFixture : public ::testing::Test {
protected:
    std::vector<shownmessage> messages;
    bool clearonmessage = false;

    void SetUp() override
    {
        static bool sdlready = false;
        if (!sdlready) {
            portable::setenvdefault("SDL_VIDEODRIVER", "dummy");
            ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
            screen::screeninit();
            screen::screenrows = 50;
            screen::setvideomode(false);
            sdlready = true;
        }
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        synth::synthinit();
        synth::samplerate = 44100;
        synth::buildtables();
        synth::wavereset();
        core::playersinit();
        core::audioreset();
        testplayer::install();
        core::filename = "tune.tst";
        core::songname = "tune";
        core::cursong = 0;
        core::recording = false;
        core::quitplay = false;
        core::playedframes = 0;
        core::tickpos = 0;
        shell::displaymode = 1;
        screen::curattr = 7;
        screen::conclear();
        screen::framebuf.fill(0);
        screen::messagesink = [this](std::string_view msg, uint8_t attr, bool wait) {
            messages.push_back({std::string(msg), attr, wait});
            if (clearonmessage) screen::conclear();
        };
    }

    void TearDown() override { screen::messagesink = nullptr; }

    // Runs the audio callback over the given number of frames, in blocks of
    // at most 2048 frames as the device asks for them.
    std::vector<int16_t> play(int frames)
    {
        std::vector<int16_t> buf(static_cast<size_t>(frames) * 2, 0x1234);
        for (int done = 0; done < frames; done += 2048) {
            const int n = frames - done < 2048 ? frames - done : 2048;
            core::devicecallback(nullptr, reinterpret_cast<uint8_t*>(buf.data() + 2 * done), n * 4);
        }
        return buf;
    }

    static SDL_Event keyevent(SDLKey sym, int mod = KMOD_NONE)
    {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = static_cast<SDLMod>(mod);
        return e;
    }

    static void key(SDLKey sym, int mod = KMOD_NONE) { shell::playevent(keyevent(sym, mod)); }

    static void pushkey(SDLKey sym)
    {
        SDL_Event e = keyevent(sym);
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }

    static SDL_Event buttonevent(int x, int y, uint8_t button)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.state = SDL_PRESSED;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        return e;
    }

    static SDL_Event motionevent(int x, int y, uint8_t state)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.state = state;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        return e;
    }

    static const screen::tchardata& cell(int x, int y) { return screen::textscreen[y * 80 + x]; }
    static const screen::tchardata& shown(int x, int y) { return screen::shownscreen[y * 80 + x]; }

    // The glyphs of a row from column from, count cells long.
    static std::string text(int row, int from = 0, int count = 80, const screen::tconsoletype& con = screen::textscreen)
    {
        std::string s;
        for (int x = from; x < from + count && x < 80; ++x) s += static_cast<char>(con[row * 80 + x].code & 0xFF);
        return s;
    }

    // A row without its trailing spaces.
    static std::string trimmed(int row)
    {
        std::string s = text(row);
        const auto end = s.find_last_not_of(' ');
        return end == std::string::npos ? std::string() : s.substr(0, end + 1);
    }

    static uint8_t pixel(int x, int y) { return screen::framebuf[y * 640 + x]; }

    static bool rowsblank(int first, int last)
    {
        for (int y = first; y <= last; ++y)
            for (int x = 0; x < 80; ++x)
                if (cell(x, y).code != ' ' || cell(x, y).attr != 0) return false;
        return true;
    }
};
