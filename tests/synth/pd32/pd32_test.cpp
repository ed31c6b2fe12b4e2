// tarplay_pd's renderer and wave editor: the cosine it reduces to, the
// link switch, noise straight from the table, a ring source that names no
// voice, and the editor's mouse geometry with snap, the wheel and sliders.
#include <gtest/gtest.h>

#include "synth/pd32/record.h"
#include "synth/pd32/wave.h"
#include "synth/synth.h"

namespace {

class Pd32Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::synthinit();
        synth::seednoise(1);
        synth::wavereset();
        synth::lastvoice = 0;
        for (int v = 0; v < synth::voicecount; ++v) synth::voiceclear(v, false);
    }
    static void sounding(int v, uint32_t step)
    {
        synth::voices[static_cast<size_t>(v)].step = step;
        synth::voices[static_cast<size_t>(v)].level = 255;
        synth::voices[static_cast<size_t>(v)].volume = 255;
        synth::voices[static_cast<size_t>(v)].syncsrc = 255;
        synth::voices[static_cast<size_t>(v)].ringsrc = 255;
    }
    static int16_t frame()
    {
        int16_t out[2] = {0, 0};
        synth::renderframes(out, 1);
        EXPECT_EQ(out[0], out[1]);
        return out[0];
    }
    static void click(int x, int y, uint8_t button)
    {
        synth::wavemouse(synth::wavemousekind::buttondown, x, y, button, 0);
    }
    static uint8_t point(int w, int i) { return synth::waves[static_cast<size_t>(w)][static_cast<size_t>(i)]; }
};

TEST_F(Pd32Test, RunsAtFortyEightThousand)
{
    EXPECT_EQ(synth::nativerate, 48000);
    EXPECT_EQ(synth::samplerate, 48000);
    // 440 Hz: 440 * 2^24 / 48000, truncated.
    EXPECT_EQ(synth::hzstep[440], 153791);
}

TEST_F(Pd32Test, FlatModulatorAndNoCompressionGiveThePlainCosine)
{
    // Every point 128 makes the modulator 0; pulse 0 leaves the phase
    // alone; no feedback gain: out = cos(phase).
    for (int w = 0; w < 2; ++w) synth::waveclear(w);
    sounding(0, 0x100000);  // 1/16 of a cycle per frame
    synth::voices[0].pulse = 0;
    for (int n = 1; n <= 4; ++n) {
        const int16_t expect = static_cast<int16_t>(synth::costab[(4096u * n) & 0xFFFF] * 255 / 1024);
        EXPECT_EQ(frame(), expect) << n;
    }
}

TEST_F(Pd32Test, LinkDecidesWhatBrightnessFollows)
{
    sounding(0, 1000);
    synth::voices[0].pulse = 200;
    synth::voices[0].filter = 10;
    synth::voices[0].bright = 100;
    frame();
    EXPECT_EQ(synth::voices[0].bright.load(), 99) << "unlinked: toward 255 - pulse = 55";
    synth::link = true;
    frame();
    frame();
    EXPECT_EQ(synth::voices[0].bright.load(), 101) << "linked: toward 255 - filter = 245";
}

TEST_F(Pd32Test, NoiseIsTheUnsignedTableAtThePhase)
{
    sounding(0, 0x12345);
    synth::voices[0].noise = 1;
    const int16_t out = frame();
    const int64_t raw = synth::noisetab[0x12345 & 0xFFFF];
    EXPECT_TRUE(raw == 1 || raw == 32768 || raw == 65535);
    EXPECT_EQ(out, static_cast<int16_t>(std::min<int64_t>(raw, 32767) * 255 / 1024));
}

TEST_F(Pd32Test, RingSourceOutsideTheVoicesIsNone)
{
    sounding(0, 0x100000);
    const int16_t plain = frame();
    for (int v = 0; v < synth::voicecount; ++v) synth::voiceclear(v, false);
    sounding(0, 0x100000);
    synth::voices[0].ringsrc = 200;
    synth::voices[0].syncsrc = 77;
    EXPECT_EQ(frame(), plain);
}

TEST_F(Pd32Test, MouseGeometryWithSnap)
{
    click(31, 391, 1);  // left of the first point: nothing
    EXPECT_EQ(point(0, 0), synth::initialwave[0]);
    click(39, 391, 1);
    EXPECT_EQ(point(0, 0), 0);
    click(40, 136, 1);
    EXPECT_EQ(point(0, 1), 255);
    click(320 + 32 + 8 * 31, 300, 1);
    EXPECT_EQ(point(1, 31), 91);
    EXPECT_EQ(point(0, 31), synth::initialwave[31]);

    synth::snap = true;
    click(32 + 8 * 5, 200, 1);  // point 5 is made even: point 4
    EXPECT_EQ(point(0, 4), 191);
    EXPECT_EQ(point(0, 5), synth::initialwave[5]);
    click(40, 135, 1);  // above the editing range
    click(40, 392, 1);  // below it
    EXPECT_EQ(point(0, 0), 0);
}

TEST_F(Pd32Test, WheelStepsBySixteenAndRightAveragesAroundTheCycle)
{
    synth::waves[0][3] = 37;
    click(32 + 24, 200, 4);
    EXPECT_EQ(point(0, 3), 48);
    click(32 + 24, 200, 5);
    EXPECT_EQ(point(0, 3), 32);
    synth::waves[0][3] = 5;
    click(32 + 24, 200, 5);
    EXPECT_EQ(point(0, 3), 240) << "below 0 it wraps";
    synth::waves[0][3] = 250;
    click(32 + 24, 200, 4);
    EXPECT_EQ(point(0, 3), 0);

    // The first point's neighbours are the last and the second.
    synth::waves[1][31] = 100;
    synth::waves[1][1] = 51;
    click(320 + 32, 200, 3);
    EXPECT_EQ(point(1, 0), 75);
}

TEST_F(Pd32Test, SlidersTakeTheLeftButtonOnly)
{
    const int depthx = 32 + 8 * 32;
    const int gainx = 320 + 32 + 8 * 35;
    synth::wavemouse(synth::wavemousekind::motion, depthx, 391 - 77, 0, 1);
    EXPECT_EQ(synth::depth.load(), 77);
    synth::wavemouse(synth::wavemousekind::motion, depthx, 391 - 99, 0, 3);  // two buttons held
    click(depthx, 391 - 99, 3);
    click(depthx, 391 - 99, 4);
    EXPECT_EQ(synth::depth.load(), 77);
    synth::snap = true;
    synth::wavemouse(synth::wavemousekind::motion, gainx, 391 - 77, 0, 1);
    EXPECT_EQ(synth::fbgain.load(), 64) << "snap clears the low four bits";
    EXPECT_EQ(synth::depth.load(), 77);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(point(1, i), synth::initialwave[static_cast<size_t>(i)]);
}

}  // namespace
