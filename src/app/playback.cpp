#include "app/playback.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "app/program.h"
#include "synth/synth.h"

namespace shell {

tplayers players;

relaxed<uint8_t> curplayer{0};
std::string filename;
std::string songname;
std::string songext;
relaxed<uint8_t> lastsong{0};
relaxed<uint8_t> cursong{0};
relaxed<uint16_t> tickrate{50};
relaxed<uint32_t> samplespertick{882};
relaxed<uint8_t> scrollticks{0};
relaxed<uint32_t> tickpos{0};
relaxed<uint64_t> playedframes{0};
relaxed<uint64_t> songframes{0};
std::string infotext;
relaxed<uint16_t> infolen{0};
relaxed<bool> quitplay{false};
relaxed<bool> running{false};

// Two full blocks, the program's text padded to 67 columns, and a block
// fading out to the right edge.
static std::string maketitlebar()
{
    std::string t = "\xDB\xDB";
    t += program::titletext;
    t.resize(69, ' ');
    t += "\xDB\xDB\xDB\xDB\xDB\xB2\xB2\xB2\xB1\xB1\xB0";
    return t;
}

const std::string titlebar = maketitlebar();

void playersinit()
{
    for (auto& p : players) p = playerrec{};
}

uint8_t freeslot()
{
    uint8_t result = 0;
    for (int i = 0; i < playerslots; ++i)
        if (!players[i].active) result = static_cast<uint8_t>(i);
    return result;
}

void chooseplayer()
{
    for (int i = 0; i < playerslots; ++i)
        if (players[i].ext == songext) curplayer = static_cast<uint8_t>(i);
}

void settickrate(uint16_t rate)
{
    tickrate = rate;
    if (rate > 0) samplespertick = synth::samplerate / rate;
    scrollticks = static_cast<uint8_t>(rate / 50);
}

// One pending message, handed from the audio thread to the main thread. The
// writer fills the buffer only while the slot is free; the reader empties it.
namespace {
constexpr size_t messagesize = 256;
char messagebuf[messagesize];
std::atomic<int> messagestate{0};  // 0 free, 1 being written, 2 ready, 3 being read
}  // namespace

void postmessage(const std::string& msg)
{
    int expected = 0;
    if (!messagestate.compare_exchange_strong(expected, 1, std::memory_order_acquire)) {
        // A message is waiting or being read: the newer one is dropped, which
        // only happens when failures repeat faster than the screen shows them.
        return;
    }
    const size_t n = std::min(msg.size(), messagesize - 1);
    std::memcpy(messagebuf, msg.data(), n);
    messagebuf[n] = 0;
    messagestate.store(2, std::memory_order_release);
}

bool takemessage(std::string& msg)
{
    int expected = 2;
    if (!messagestate.compare_exchange_strong(expected, 3, std::memory_order_acquire)) return false;
    msg = messagebuf;
    messagestate.store(0, std::memory_order_release);
    return true;
}

}  // namespace shell
