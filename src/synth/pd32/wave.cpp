// The 32-point wave editor: each 320-pixel half of the screen holds one
// wave, 8 pixels per point from x = 32, and right of the points the depth
// and feedback-gain sliders.
#include "synth/pd32/wave.h"

#include "synth/synth.h"

namespace synth {

const std::array<uint8_t, wavepoints> initialwave = {160, 48,  32,  0,  112, 144, 240, 0,  144, 64, 32,
                                                     48,  128, 32,  48, 208, 32,  48,  240, 32, 48, 160,
                                                     32,  240, 64,  32, 208, 64,  32,  160, 64, 32};

// The waves hold their initial values from the start, before any start-up
// code runs.
std::array<twave32, 2> waves = [] {
    std::array<twave32, 2> w;
    for (auto& wave : w)
        for (int i = 0; i < wavepoints; ++i) wave[static_cast<size_t>(i)] = initialwave[static_cast<size_t>(i)];
    return w;
}();
relaxed<uint8_t> depth{8};
relaxed<uint8_t> fbgain{0};
relaxed<uint8_t> mult{1};
relaxed<bool> snap{false};
relaxed<bool> link{false};

namespace {

constexpr int halfwidth = 320;
constexpr int firstx = 32;
constexpr int pointwidth = 8;
constexpr int depthslider = 32;   // positions 32 and 33
constexpr int fbgainslider = 34;  // positions 34 and 35
constexpr int valuetop = 136;
constexpr int valuebottom = 391;

twave32* wavenumber(int w)
{
    return w >= 0 && w < 2 ? &waves[static_cast<size_t>(w)] : nullptr;
}

void setslider(relaxed<uint8_t>& slider, uint8_t value)
{
    slider = snap ? static_cast<uint8_t>(value & 0xF0) : value;
}

// The wheel moves a point by 16 and lands it on a multiple of 16.
uint8_t wheelstep(uint8_t value, int delta)
{
    return static_cast<uint8_t>((value + delta) & 0xF0);
}

}  // namespace

void wavereset()
{
    for (auto& w : waves)
        for (int i = 0; i < wavepoints; ++i) w[i] = initialwave[i];
    depth = 8;
    fbgain = 0;
    mult = 1;
    snap = false;
    link = false;
}

void waveclear(int w)
{
    if (twave32* wave = wavenumber(w))
        for (auto& p : *wave) p = 128;
}

void waverandom(int w)
{
    if (twave32* wave = wavenumber(w))
        for (auto& p : *wave) p = static_cast<uint8_t>(synthrandom(256));
}

void wavemouse(wavemousekind kind, int x, int y, uint8_t button, uint8_t buttons)
{
    if (x < 0 || x >= 2 * halfwidth || y < valuetop || y > valuebottom) return;
    twave32& wave = waves[static_cast<size_t>(x / halfwidth)];
    const int offset = x % halfwidth - firstx;
    if (offset < 0) return;  // left of the first point
    int position = offset / pointwidth;
    if (snap) position &= ~1;
    const uint8_t value = static_cast<uint8_t>(valuebottom - y);
    const bool dragleft = kind == wavemousekind::motion && buttons == 1;
    const bool pressleft = kind == wavemousekind::buttondown && button == 1;

    if (position >= depthslider) {
        if (!dragleft && !pressleft) return;
        if (position < fbgainslider)
            setslider(depth, value);
        else
            setslider(fbgain, value);
        return;
    }

    relaxed<uint8_t>& point = wave[static_cast<size_t>(position)];
    if (dragleft || pressleft) {
        point = value;
        return;
    }
    if (kind != wavemousekind::buttondown) return;
    switch (button) {
    case 3: {
        // The wave is a cycle: the first point's left neighbour is the last.
        const int before = wave[static_cast<size_t>((position + wavepoints - 1) % wavepoints)];
        const int after = wave[static_cast<size_t>((position + 1) % wavepoints)];
        point = static_cast<uint8_t>((before + after) / 2);
        break;
    }
    case 4:
        point = wheelstep(point, 16);
        break;
    case 5:
        point = wheelstep(point, -16);
        break;
    default:
        break;
    }
}

}  // namespace synth
