// tarplay_pd's renderer (plain cosine, noise, link) and its wave editor's
// mouse geometry with snap, the wheel and the sliders.
#include <gtest/gtest.h>

#include <tuple>

#include "synth/pd32/record.h"
#include "synth/pd32/wave.h"
#include "synth/synth.h"

namespace {

class Pd32Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::synthinit();
        synth::wavereset();
        auto& v = synth::voices[0];
        v.level = v.volume = 255;
        v.syncsrc = v.ringsrc = 255;
    }
    static int16_t frame()
    {
        int16_t out[2] = {0, 0};
        synth::renderframes(out, 1);
        EXPECT_EQ(out[0], out[1]);
        return out[0];
    }
};

TEST_F(Pd32Test, PlainCosineUnsignedNoiseAndLink)
{
    // Points at 128 make the modulator 0 and pulse 0 leaves the phase alone.
    for (int w = 0; w < 2; ++w) synth::waveclear(w);
    auto& v = synth::voices[0];
    v.step = 0x100000;  // 1/16 of a cycle per frame
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(frame(), synth::costab[4096 * n] * 255 / 1024) << n;

    // A signed or centred read, or an index from the 16-bit phase, misses 8159.
    const auto saved = synth::noisetab;
    synth::noisetab.fill(1);
    synth::noisetab[0x2345] = 32768;  // phase 0x412345
    v.step = 0x12345;
    v.noise = 1;
    EXPECT_EQ(frame(), 32767 * 255 / 1024);
    EXPECT_EQ(frame(), 0);
    synth::noisetab = saved;

    // Brightness glides toward 255 - pulse (55) unlinked, 255 - filter (245) linked.
    v.pulse = 200;
    v.filter = 10;
    v.bright = 100;
    frame();
    EXPECT_EQ(v.bright.load(), 99);
    synth::link = true;
    frame();
    frame();
    EXPECT_EQ(v.bright.load(), 101);
}

TEST_F(Pd32Test, MouseGeometrySnapWheelAndSliders)
{
    // Points are 8 pixels wide from x = 32 in each 320-pixel half, values at
    // y 136..391; positions 32..33 are the depth slider, 34..35 the gain's.
    using synth::depth, synth::fbgain, synth::waves;
    constexpr bool drag = true, press = false;
    const int dx = 32 + 8 * 32, gx = 320 + 32 + 8 * 35;
    const struct {
        int x, y; bool motion; int button; bool snap; relaxed<uint8_t>* target; int before, after;
    } cases[] = {
        {31, 391, press, 1, false, &waves[0][0], 77, 77},  // left of the first point
        {39, 391, press, 1, false, &waves[0][0], 77, 0}, {40, 136, drag, 1, false, &waves[0][1], 77, 255},
        {40, 135, press, 1, false, &waves[0][1], 77, 77}, {40, 392, press, 1, false, &waves[0][1], 77, 77},
        {320 + 32 + 8 * 31, 300, press, 1, false, &waves[1][31], 77, 91},
        {32 + 8 * 5, 200, press, 1, true, &waves[0][4], 77, 191},  // snap makes point 5 even
        // Wheel: ±16, then the low four bits cleared; the middle button does nothing.
        {56, 200, press, 4, false, &waves[0][3], 37, 48}, {56, 200, press, 5, false, &waves[0][3], 37, 16},
        {56, 200, press, 5, false, &waves[0][3], 5, 240}, {56, 200, press, 2, false, &waves[0][3], 37, 37},
        {320 + 32, 200, press, 3, false, &waves[1][0], 77, 40},  // right: last and second of its own wave
        // Sliders take the left button alone.
        {dx, 391 - 77, drag, 1, false, &depth, 8, 77}, {dx, 391 - 77, drag, 3, false, &depth, 8, 8},
        {dx, 391 - 77, press, 3, false, &depth, 8, 8}, {dx, 391 - 77, press, 4, false, &depth, 8, 8},
        {gx, 391 - 77, drag, 1, true, &fbgain, 0, 64},
    };
    for (const auto& c : cases) {
        synth::wavereset();
        synth::waveclear(0);  // the waves differ, so a read of the wrong one shows
        synth::snap = c.snap;
        *c.target = static_cast<uint8_t>(c.before);
        const auto others = std::tuple(waves, depth.load(), fbgain.load());
        const auto b = static_cast<uint8_t>(c.button);
        synth::wavemouse(c.motion ? synth::wavemousekind::motion : synth::wavemousekind::buttondown, c.x, c.y,
                         c.motion ? 0 : b, c.motion ? b : 0);
        EXPECT_EQ(int(*c.target), c.after) << c.x << "," << c.y << " button " << c.button;
        *c.target = static_cast<uint8_t>(c.before);
        EXPECT_EQ(std::tuple(waves, depth.load(), fbgain.load()), others) << c.x << "," << c.y << " changed more";
    }
}

}  // namespace
