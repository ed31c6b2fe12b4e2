// A channel handed to its synth voice: frequency from period and wave
// length, brightness from the filter position, level, waveform and square
// shape.
#include "players/ahx/ahxfixture.h"

namespace {

class AhxVoice : public AhxTest {
protected:
    ahx::ahxchannel& setchannel(int period, int wavelen, int wave)
    {
        ahx::ahxchannel& c = ch(0);
        c.period = period;
        c.wavelen = wavelen;
        c.wave = wave;
        return c;
    }
    static uint32_t exactstep(uint32_t hz) { return static_cast<uint32_t>((uint64_t{hz} << 24) / 44100); }
};

TEST_F(AhxVoice, FrequencyFromPeriodAndWaveLength)
{
    setchannel(428, 2, 0);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).hz.load(), 512);
    EXPECT_EQ(voice(0).step.load(), static_cast<uint32_t>(synth::hzstep[512]));
    EXPECT_EQ(voice(0).notefrac.load(), synth::hzlog[512] & 0xFF);
    EXPECT_EQ(voice(0).octave.load(), synth::hzlog[512] >> 8);

    setchannel(428, 5, 0);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).hz.load(), 64);
    EXPECT_EQ(voice(0).step.load(), static_cast<uint32_t>(synth::hzstep[64]));

    // Above the step table: the step is computed, the display holds at 4095.
    setchannel(113, 0, 0);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).hz.load(), 7840);
    EXPECT_EQ(voice(0).step.load(), exactstep(7840));
    EXPECT_EQ(voice(0).notefrac.load(), synth::hzlog[4095] & 0xFF);
    EXPECT_EQ(voice(0).octave.load(), 7);

    // The step is continuous across the table's end.
    setchannel(214, 0, 0);  // 3546895 / 214 = 16574, >> 7 = 129, << 5 = 4128
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).hz.load(), 4128);
    EXPECT_EQ(voice(0).step.load(), exactstep(4128));
    EXPECT_GT(voice(0).step.load(), static_cast<uint32_t>(synth::hzstep[4095]));

    // Noise is always eight times the base frequency.
    setchannel(428, 0, 3);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).hz.load(), 512);

    // Wave length codes 6 and 7 scale like code 5.
    for (int wl : {6, 7}) {
        setchannel(428, wl, 0);
        ahx::ahxsetvoice(0);
        EXPECT_EQ(voice(0).hz.load(), 64) << wl;
    }
}

TEST_F(AhxVoice, WaveformSetsControlPulseAndNoise)
{
    voice(0).syncsrc = 1;
    voice(0).ringsrc = 2;
    voice(0).noise = 1;
    voice(0).pulse = 99;
    setchannel(428, 5, 0);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).control.load(), 0x10);
    EXPECT_EQ(voice(0).pulse.load(), 99) << "triangle leaves the pulse shape";
    EXPECT_EQ(voice(0).syncsrc.load(), 255);
    EXPECT_EQ(voice(0).ringsrc.load(), 255);
    EXPECT_EQ(voice(0).noise.load(), 0);

    setchannel(428, 5, 1);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).control.load(), 0x20);
    EXPECT_EQ(voice(0).pulse.load(), 99);

    setchannel(428, 5, 3);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).control.load(), 0x80);
    EXPECT_EQ(voice(0).pulse.load(), 255);
    EXPECT_EQ(voice(0).noise.load(), 1);

    setchannel(428, 5, 2).squarepos = 16;
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).control.load(), 0x40);
    EXPECT_EQ(voice(0).pulse.load(), 128);
    EXPECT_EQ(voice(0).noise.load(), 0);

    // Codes beyond noise leave the waveform as it was.
    setchannel(428, 5, 6);
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).control.load(), 0x40);
    EXPECT_EQ(voice(0).pulse.load(), 128);
}

TEST_F(AhxVoice, SquareShapeFromPosition)
{
    const struct {
        int pos, wavelen, pulse;
    } cases[] = {
        {16, 5, 128}, {32, 5, 254}, {63, 5, 6}, {0, 5, 0}, {31, 5, 248}, {48, 5, 126},
        {8, 4, 128},  {16, 4, 254}, {1, 0, 254}, {2, 0, 0}, {16, 7, 128}, {-1, 5, 6},
    };
    for (const auto& c : cases) {
        setchannel(428, c.wavelen, 2).squarepos = c.pos;
        ahx::ahxsetvoice(0);
        EXPECT_EQ(voice(0).pulse.load(), c.pulse) << c.pos << " at " << c.wavelen;
    }
}

TEST_F(AhxVoice, BrightnessFromFilterPosition)
{
    const struct {
        int pos, filter;
    } cases[] = {{1, 217}, {0, 224}, {31, 7}, {32, 1}, {63, 1}, {127, 1}, {-4, 252}, {-10, 1}};
    for (const auto& c : cases) {
        setchannel(428, 5, 0).filterpos = c.pos;
        ahx::ahxsetvoice(0);
        EXPECT_EQ(voice(0).filter.load(), c.filter) << c.pos;
    }
}

TEST_F(AhxVoice, LevelIsTheLowByteOfTheVolume)
{
    for (int v : {0, 127, 255}) {
        setchannel(428, 5, 0).voicevol = v;
        ahx::ahxsetvoice(0);
        EXPECT_EQ(voice(0).level.load(), v);
    }
    setchannel(428, 5, 0).voicevol = 256 + 7;
    ahx::ahxsetvoice(0);
    EXPECT_EQ(voice(0).level.load(), 7);
}

TEST_F(AhxVoice, EachChannelWritesItsOwnVoice)
{
    for (int c = 0; c < 4; ++c) {
        ch(c).period = 428;
        ch(c).wavelen = c + 2;
        ch(c).voicevol = 10 * c;
        ahx::ahxsetvoice(c);
    }
    EXPECT_EQ(voice(0).hz.load(), 512);
    EXPECT_EQ(voice(1).hz.load(), 256);
    EXPECT_EQ(voice(2).hz.load(), 128);
    EXPECT_EQ(voice(3).hz.load(), 64);
    EXPECT_EQ(voice(3).level.load(), 30);
    EXPECT_EQ(voice(4).hz.load(), 0);
}

}  // namespace
