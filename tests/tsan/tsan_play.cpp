// The audio handover under ThreadSanitizer: a SID demo tune and an AHX demo
// module play through the real audio callback (SDL's dummy driver, on SDL's
// own audio thread) while this thread does what a user at the keyboard does:
// changes subsongs, mutes, skips, restarts, edits the waves and redraws.
// Built with -fsanitize=thread; any data race ends the run with a failure.
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/audio.h"
#include "core/playback.h"
#include "app/playscreen.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/pd/wave.h"
#include "synth/synth.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (ok) return;
    std::fprintf(stderr, "tsan_play: %s\n", what.c_str());
    ++failures;
}

SDL_Event keyevent(SDLKey sym)
{
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event buttonevent(int x, int y, uint8_t button)
{
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.x = static_cast<uint16_t>(x);
    e.button.y = static_cast<uint16_t>(y);
    e.button.button = button;
    return e;
}

SDL_Event motionevent(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<uint16_t>(x);
    e.motion.y = static_cast<uint16_t>(y);
    e.motion.state = 1;
    return e;
}

// One tune, played for the given time under a stream of user actions.
void playfor(const std::string& file, const char* ext, uint32_t ms)
{
    core::filename = file;
    core::songext = ext;
    core::chooseplayer();
    core::cursong = 0;
    core::recording = false;
    const uint32_t framesbefore = core::uptimeframes;
    if (!shell::playstart()) {
        check(false, "cannot load " + file);
        return;
    }
    static const SDLKey keys[] = {SDLK_DOWN, SDLK_i,     SDLK_RIGHT, SDLK_o, SDLK_SPACE, SDLK_e,
                                  SDLK_DOWN, SDLK_p,     SDLK_r,     SDLK_i, SDLK_LEFT,  SDLK_q,
                                  SDLK_UP,   SDLK_RETURN, SDLK_w,    SDLK_o, SDLK_TAB,   SDLK_p};
    const uint32_t start = SDL_GetTicks();
    for (unsigned n = 0; SDL_GetTicks() - start < ms && !core::quitplay; ++n) {
        shell::playevent(keyevent(keys[n % (sizeof keys / sizeof keys[0])]));
        const int x = static_cast<int>(37 * n % 640);
        const int y = 136 + static_cast<int>(53 * n % 256);
        shell::playevent(buttonevent(x, y, static_cast<uint8_t>(1 + n % 5)));
        shell::playevent(motionevent(639 - x, y));
        shell::playredraw();
        SDL_Delay(5);
    }
    shell::playend();
    check(core::uptimeframes - framesbefore > 44100, "the callback did not play " + file);
}

}  // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string demo = std::string(TARPLAY_BUILD_DIR) + "/demo/";
    // The SID player looks for its database in the working directory.
    char scratch[] = "/tmp/tarplay-tsan.XXXXXX";
    if (!mkdtemp(scratch) || chdir(scratch) != 0) return 2;

    synth::synthinit();
    core::playersinit();
    screen::screeninit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    screen::messagesink = [](std::string_view msg, uint8_t, bool) {
        std::fprintf(stderr, "tsan_play: message %.*s\n", static_cast<int>(msg.size()), msg.data());
    };

    synth::samplerate = 44100;
    synth::buildtables();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) < 0) return 2;
    screen::screenrows = 50;
    screen::setvideomode(false);
    SDL_AudioSpec desired{};
    desired.freq = synth::samplerate;
    desired.format = AUDIO_S16LSB;
    desired.channels = 2;
    desired.samples = 2048;
    desired.callback = core::devicecallback;
    if (SDL_OpenAudio(&desired, nullptr) < 0) return 2;
    SDL_PauseAudio(0);
    for (auto& b : synth::waveparams) b = 128;

    // Twice each, so that a load also follows another tune's playing.
    for (int round = 0; round < 2; ++round) {
        playfor(demo + "harbour.sid", ".SID", 3000);
        playfor(demo + "neondrift.ahx", ".AHX", 3000);
    }

    SDL_CloseAudio();
    SDL_Quit();
    rmdir(scratch);  // empty unless the database was converted
    std::printf("tsan_play: %s\n", failures ? "FAILED" : "passed");
    return failures ? 1 : 0;
}
