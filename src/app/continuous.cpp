#include "app/continuous.h"

#include "app/playscreen.h"
#include "app/settings.h"
#include "core/playback.h"
#include "screen/console.h"
#include "selector/selector.h"

namespace shell {

namespace {

struct tcontinuous {
    bool nexttune = false;  // the play screen ended at the tune's last subsong
};
tcontinuous state;

}  // namespace

bool continuouson()
{
    return settings::current.continuous;
}

void togglecontinuous()
{
    settings::current.continuous = !settings::current.continuous;
    settings::savesettings();
}

void continuousstep()
{
    if (!core::tuneended) return;
    core::tuneended = false;
    if (!continuouson()) return;
    const uint8_t song = core::cursong;
    if (song < core::lastsong) {
        // Where a player's time runs on across a subsong change, the next
        // subsong still gets its whole length.
        core::cursong = static_cast<uint8_t>(song + 1);
        core::playedframes = 0;
        return;
    }
    state.nexttune = true;
    core::quitplay = true;
}

bool playnexttune()
{
    if (!state.nexttune) return false;
    state.nexttune = false;
    const int32_t lastplayed = selector::selpos;
    // Nobody sits at the screen to dismiss a refusal: it is passed over.
    auto previous = std::move(screen::messagesink);
    screen::messagesink = [](std::string_view, uint8_t, bool) {};
    bool started = false;
    while (!started && selector::selectnextfile(core::filename)) {
        core::cursong = 0;
        started = playstart();
    }
    screen::messagesink = std::move(previous);
    if (!started) selector::selpos = lastplayed;
    return started;
}

void playonwards()
{
    while (playnexttune()) playrun();
}

}  // namespace shell
