#include "core/shared.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace core {

handover<bool> silent{true};

relaxed<uint8_t> curplayer{0};
relaxed<uint8_t> cursong{0};
relaxed<uint8_t> lastsong{0};
relaxed<uint16_t> tickrate{50};
relaxed<uint32_t> samplespertick{882};
relaxed<uint8_t> scrollticks{0};
relaxed<uint32_t> tickpos{0};
relaxed<uint64_t> playedframes{0};
relaxed<uint64_t> songframes{0};
std::string infotext;
relaxed<uint16_t> infolen{0};
relaxed<bool> quitplay{false};
relaxed<bool> tuneended{false};
relaxed<bool> recording{false};

relaxed<uint16_t> tickcountdown{0};
relaxed<int32_t> blockframes{2048};
std::array<relaxed<int16_t>, 65536> scopebuf;
relaxed<uint32_t> secondticks{0};
relaxed<uint32_t> secondframes{0};
relaxed<uint32_t> measuredrate{0};
relaxed<uint32_t> uptimeframes{0};

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

}  // namespace core
