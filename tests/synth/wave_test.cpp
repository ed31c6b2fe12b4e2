#include <gtest/gtest.h>

#include <array>

#include "synth/pd/record.h"
#include "synth/pd/wave.h"

namespace {

using synth::wavemousekind;
using synth::waveparams;

std::array<uint8_t, 96> snapshot()
{
    std::array<uint8_t, 96> s{};
    for (int i = 0; i < 96; ++i) s[i] = waveparams[i];
    return s;
}

class WaveEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::samplerate = 44100;
        synth::synthinit();
        synth::wavereset();
    }
    void TearDown() override { synth::wavereset(); }

    static void press(int x, int y, uint8_t button) { synth::wavemouse(wavemousekind::buttondown, x, y, button, 0); }
    static void drag(int x, int y, uint8_t buttons) { synth::wavemouse(wavemousekind::motion, x, y, 0, buttons); }
};

TEST_F(WaveEditing, StartState)
{
    EXPECT_EQ(synth::waveset, 0);
    for (int i = 0; i < 96; ++i) EXPECT_EQ(waveparams[i], 128) << i;
}

TEST_F(WaveEditing, PairSwitchesBetweenZeroAndTwo)
{
    synth::wavepair();
    EXPECT_EQ(synth::waveset, 2);
    synth::wavepair();
    EXPECT_EQ(synth::waveset, 0);
}

TEST_F(WaveEditing, ClearAndRandomTouchOnlyTheirWave)
{
    for (int i = 0; i < 96; ++i) waveparams[i] = 7;
    synth::waveclearsrc();
    synth::wavecleardst();
    for (int i = 0; i < 96; ++i) EXPECT_EQ(waveparams[i], i < 6 ? 128 : 7) << i;

    synth::wavepair();
    synth::waveclearsrc();
    for (int i = 0; i < 96; ++i) EXPECT_EQ(waveparams[i], i < 9 ? 128 : 7) << i;
    synth::wavecleardst();
    for (int i = 0; i < 96; ++i) EXPECT_EQ(waveparams[i], i < 12 ? 128 : 7) << i;

    // Random bytes land only in the chosen wave; over many draws each byte
    // leaves 128 at some point.
    bool moved[3] = {};
    for (int round = 0; round < 50; ++round) {
        synth::waverandomdst();
        for (int k = 0; k < 3; ++k) moved[k] |= waveparams[9 + k] != 128;
        for (int i = 0; i < 96; ++i) {
            if (i < 9 || i >= 12) {
                ASSERT_EQ(waveparams[i], i < 12 ? 128 : 7) << i;
            }
        }
    }
    for (bool m : moved) EXPECT_TRUE(m);
    synth::waverandomsrc();
    for (int i = 12; i < 96; ++i) EXPECT_EQ(waveparams[i], 7) << i;
}

TEST_F(WaveEditing, OperationsIgnoreACorruptPair)
{
    synth::waveset = 200;
    const auto before = snapshot();
    synth::waveclearsrc();
    synth::waverandomdst();
    press(100, 200, 1);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(WaveEditing, LeftClickSetsTheValueUnderTheMouse)
{
    press(330, 391, 1);  // right half, column 0: wave 1 byte 0
    EXPECT_EQ(waveparams[3], 0);
    press(0, 136, 1);
    EXPECT_EQ(waveparams[0], 255);
    press(130, 300, 1);  // column 1
    EXPECT_EQ(waveparams[1], 91);
    press(639, 200, 1);  // 319 in the right half: no column
    press(311, 200, 1);  // last pixel of column 2
    EXPECT_EQ(waveparams[2], 191);
    EXPECT_EQ(waveparams[5], 128);
}

TEST_F(WaveEditing, ColumnBoundaries)
{
    // x mod 320: 0..119 column 0, 120..215 column 1, 216..311 column 2.
    const struct { int x; int index; } cases[] = {
        {0, 0}, {23, 0}, {24, 0}, {119, 0}, {120, 1}, {215, 1}, {216, 2}, {311, 2},
        {320, 3}, {439, 3}, {440, 4}, {536, 5}, {631, 5},
    };
    for (const auto& c : cases) {
        synth::wavereset();
        press(c.x, 291, 1);
        for (int i = 0; i < 96; ++i) ASSERT_EQ(waveparams[i], i == c.index ? 100 : 128) << "x=" << c.x << " byte " << i;
    }
    for (int x : {312, 319, 632, 639}) {
        synth::wavereset();
        press(x, 291, 1);
        drag(x, 291, 1);
        for (int i = 0; i < 96; ++i) ASSERT_EQ(waveparams[i], 128) << "x=" << x;
    }
}

TEST_F(WaveEditing, SecondPairShiftsByTwoWaves)
{
    synth::wavepair();
    press(10, 391, 1);
    EXPECT_EQ(waveparams[6], 0);
    press(320 + 220, 390, 1);  // wave 3, column 2
    EXPECT_EQ(waveparams[11], 1);
}

TEST_F(WaveEditing, OutsideTheValueBandNothingChanges)
{
    const auto before = snapshot();
    for (int y : {135, 392, -1, 0, 399, 1000}) {
        for (uint8_t b : {1, 3, 4, 5}) press(100, y, b);
        drag(100, y, 1);
    }
    for (int x : {-1, -320, 640, 700, 100000}) {
        for (uint8_t b : {1, 3, 4, 5}) press(x, 200, b);
        drag(x, 200, 1);
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(WaveEditing, DragOnlyWithTheLeftButtonAlone)
{
    drag(50, 291, 0);
    drag(50, 291, 2);
    drag(50, 291, 3);
    drag(50, 291, 4);
    drag(50, 291, 5);
    EXPECT_EQ(waveparams[0], 128);
    drag(50, 291, 1);
    EXPECT_EQ(waveparams[0], 100);
}

TEST_F(WaveEditing, MiddleAndUnknownButtonsDoNothing)
{
    const auto before = snapshot();
    for (uint8_t b : {0, 2, 6, 7, 255}) press(50, 200, b);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(WaveEditing, WheelStepsAndWraps)
{
    waveparams[4] = 255;
    press(330 + 130, 200, 4);
    EXPECT_EQ(waveparams[4], 0);
    press(330 + 130, 200, 5);
    EXPECT_EQ(waveparams[4], 255);
    waveparams[0] = 0;
    press(10, 200, 5);
    EXPECT_EQ(waveparams[0], 255);
    press(10, 200, 4);
    press(10, 200, 4);
    EXPECT_EQ(waveparams[0], 1);
}

TEST_F(WaveEditing, RightClickAveragesNeighboursAcrossWaves)
{
    for (int i = 0; i < 12; ++i) waveparams[i] = static_cast<uint8_t>(i * 20);
    // Wave 1 column 0 (byte 3): bytes 2 and 4 -> (40 + 80) / 2.
    press(330, 200, 3);
    EXPECT_EQ(waveparams[3], 60);
    // Wave 0 column 2 (byte 2): bytes 1 and 3 (already changed) -> (20 + 60) / 2.
    press(300, 200, 3);
    EXPECT_EQ(waveparams[2], 40);
    // Odd sums round down.
    waveparams[3] = 11;
    waveparams[5] = 20;
    press(330 + 130, 200, 3);
    EXPECT_EQ(waveparams[4], 15);
}

TEST_F(WaveEditing, RightClickOnTheFirstByteUsesItself)
{
    waveparams[0] = 100;
    waveparams[1] = 50;
    press(5, 200, 3);
    EXPECT_EQ(waveparams[0], 75);
}

TEST_F(WaveEditing, PreviewOfAFlatWaveIsACosineWithFeedback)
{
    const synth::wavecurve c = synth::wavepreview(0, 128);
    int64_t avg = 0;
    for (int x = 0; x < 256; ++x) {
        EXPECT_EQ(c.distortion[x], 0) << x;
        const int64_t out = synth::costab[static_cast<uint16_t>(x * 256 + avg * 128 / 512)];
        ASSERT_EQ(c.output[x], out) << x;
        avg = (avg + out) / 2;
    }
    const synth::wavecurve plain = synth::wavepreview(0, 0);
    for (int x = 0; x < 256; ++x) ASSERT_EQ(plain.output[x], synth::costab[x * 256]) << x;
}

TEST_F(WaveEditing, PreviewOfAnAsymmetricWave)
{
    waveparams[0] = 255;
    waveparams[1] = 0;
    const synth::wavecurve c = synth::wavepreview(0, 0);
    EXPECT_EQ(c.distortion[0], 0);
    EXPECT_EQ(c.distortion[128], 0);
    for (int x = 1; x < 128; ++x) ASSERT_GT(c.distortion[x], 0) << x;
    for (int x = 129; x < 256; ++x) ASSERT_LT(c.distortion[x], 0) << x;
    // Peak bend in the middle of each half: (32767 + 32767) * 127 / 256 and
    // the same with -128.
    EXPECT_EQ(c.distortion[64], 32511);
    EXPECT_EQ(c.distortion[192], -32767);
    for (int x = 0; x < 256; ++x) {
        const int64_t d = c.distortion[x];
        ASSERT_EQ(c.output[x], synth::costab[static_cast<uint16_t>(d * 4 * 255 / 256 + x * 256)]) << x;
    }
    // The renderer's phase index and the preview's agree: a fully bright
    // voice with this wave as its triangle shows the same curve.
    waveparams[6] = 255;
    waveparams[7] = 0;
    const synth::wavecurve tri = synth::wavepreview(2, 0);
    EXPECT_EQ(tri.output, c.output);
}

TEST_F(WaveEditing, PreviewFollowsEveryEditAndTheFeedbackByte)
{
    const synth::wavecurve first = synth::wavepreview(0, 0);
    waveparams[1] = 200;  // the second half only
    const synth::wavecurve edited = synth::wavepreview(0, 0);
    EXPECT_EQ(edited.distortion[64], first.distortion[64]);
    EXPECT_NE(edited.distortion[192], first.distortion[192]);
    EXPECT_NE(synth::wavepreview(0, 255).output, edited.output);
    waveparams[1] = 128;
    EXPECT_EQ(synth::wavepreview(0, 0).distortion, first.distortion);
    EXPECT_EQ(synth::wavepreview(0, 0).output, first.output);
}

TEST_F(WaveEditing, PreviewOfAnUnknownWaveIsFlat)
{
    for (int w : {-1, 32, 1000}) {
        const synth::wavecurve c = synth::wavepreview(w, 255);
        for (int x = 0; x < 256; ++x) {
            ASSERT_EQ(c.distortion[x], 0);
            ASSERT_EQ(c.output[x], 0);
        }
    }
    // The last wave of the table is still a wave.
    waveparams[93] = 0;
    EXPECT_NE(synth::wavepreview(31, 0).distortion[64], 0);
}

}  // namespace
