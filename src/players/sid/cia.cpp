#include "players/sid/cia.h"

#include <algorithm>

namespace sid {

namespace {

constexpr uint8_t controlstart = 0x01;
constexpr uint8_t controloneshot = 0x08;
constexpr uint8_t controlload = 0x10;
constexpr uint8_t countsunderflows = 0x40;  // timer B's input: timer A

bool running(const ciatimer& t) { return (t.control & controlstart) != 0; }

bool cascaded(const ciachip& c) { return (c.timer[1].control & 0x60) == countsunderflows; }

// Counts a timer down by n steps; returns its underflows. The counter goes
// from 0 to the latch on the step after it reaches 0, so a latch of L
// underflows every L + 1 steps; a one-shot timer stops at its first.
uint32_t countdown(ciatimer& t, uint32_t n)
{
    if (!running(t) || n == 0) return 0;
    if (n <= t.counter) {
        t.counter = static_cast<uint16_t>(t.counter - n);
        return 0;
    }
    const uint32_t rest = n - t.counter - 1;
    if (t.control & controloneshot) {
        t.control &= static_cast<uint8_t>(~controlstart);
        t.counter = t.latch;
        return 1;
    }
    const uint32_t period = uint32_t{t.latch} + 1;
    t.counter = static_cast<uint16_t>(t.latch - rest % period);
    return 1 + rest / period;
}

}  // namespace

void ciawrite(ciachip& c, uint8_t reg, uint8_t value)
{
    reg &= 0x0F;
    switch (reg) {
    case 0x04:
    case 0x06: {
        ciatimer& t = c.timer[(reg - 4) / 2];
        t.latch = static_cast<uint16_t>((t.latch & 0xFF00) | value);
        break;
    }
    case 0x05:
    case 0x07: {
        ciatimer& t = c.timer[(reg - 5) / 2];
        t.latch = static_cast<uint16_t>((t.latch & 0x00FF) | (value << 8));
        // A stopped timer takes the latch at once when its high byte is set.
        if (!running(t)) t.counter = t.latch;
        break;
    }
    case 0x0D:
        if (value & 0x80)
            c.icrmask = static_cast<uint8_t>(c.icrmask | (value & 0x1F));
        else
            c.icrmask = static_cast<uint8_t>(c.icrmask & ~value & 0x1F);
        break;
    case 0x0E:
    case 0x0F: {
        ciatimer& t = c.timer[reg - 0x0E];
        if (value & controlload) t.counter = t.latch;
        t.control = static_cast<uint8_t>(value & ~controlload);
        break;
    }
    default: break;
    }
}

void ciaadvance(ciachip& c, uint32_t n)
{
    const uint32_t a = countdown(c.timer[0], n);
    if (a) c.icrflags |= 0x01;
    const uint32_t b = countdown(c.timer[1], cascaded(c) ? a : n);
    if (b) c.icrflags |= 0x02;
}

uint32_t ciacyclestoevent(const ciachip& c)
{
    uint32_t soonest = UINT32_MAX;
    for (int i = 0; i < 2; ++i) {
        const ciatimer& t = c.timer[static_cast<size_t>(i)];
        // A cascaded timer B moves only at timer A's underflows, which are
        // events already.
        if (!running(t) || (i == 1 && cascaded(c))) continue;
        soonest = std::min(soonest, uint32_t{t.counter} + 1);
    }
    return soonest;
}

uint8_t ciaicrvalue(const ciachip& c)
{
    return static_cast<uint8_t>(c.icrflags | (ciainterrupt(c) ? 0x80 : 0));
}

}  // namespace sid
