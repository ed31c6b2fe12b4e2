// The voice interface, written once for every renderer: this file is
// compiled into each renderer's library, where "record.h" names that
// renderer's own voice record.
#include <algorithm>

#include "record.h"
#include "synth/voice.h"

namespace synth {

namespace {

tvoice& voiceat(int v)
{
    return voices[static_cast<size_t>(v) % voices.size()];
}

}  // namespace

void voicefreq(int v, uint32_t hz)
{
    tvoice& voice = voiceat(v);
    voice.hz = static_cast<decltype(voice.hz.load())>(hz);
    // The step table covers 0..4095 Hz; higher notes get the same step
    // computed directly.
    if (hz < hzstep.size())
        voice.step = static_cast<uint32_t>(hzstep[hz]);
    else
        voice.step = static_cast<uint32_t>((static_cast<uint64_t>(hz) << 24) / samplerate);
    const uint16_t code = hzlog[std::min<uint32_t>(hz, 4095)];
    voice.notefrac = code & 0xFF;
    voice.octave = static_cast<uint8_t>(code >> 8);
}

void voicecontrol(int v, uint8_t control) { voiceat(v).control = control; }
void voicepulse(int v, uint8_t pulse) { voiceat(v).pulse = pulse; }
void voicefilter(int v, uint8_t filter) { voiceat(v).filter = filter; }
void voicelevel(int v, uint8_t level) { voiceat(v).level = level; }

void voicemodulation(int v, uint8_t syncsrc, uint8_t ringsrc, uint8_t noise)
{
    tvoice& voice = voiceat(v);
    voice.syncsrc = syncsrc;
    voice.ringsrc = ringsrc;
    voice.noise = noise;
}

void voicephasereset(int v) { voiceat(v).phase = 0; }
void voicelastphaseclear(int v) { voiceat(v).lastphase = 0; }

void voicetunereset(int v)
{
    tvoice& voice = voiceat(v);
    voice.step = 0;
    voice.level = 0;
    voice.notefrac = 0;
    voice.octave = 0;
}

int32_t voicelastout(int v) { return voiceat(v).lastout; }

tvoiceview voiceview(int v)
{
    const tvoice& voice = voiceat(v);
    const uint8_t muted = voicemuted(v) ? 1 : 0;
    return {voice.notefrac, voice.octave, voice.control, muted, voice.pulse, voice.filter, voice.level, voice.noise};
}

void voiceclear(int v, bool keepmute)
{
    const bool muted = keepmute && voicemuted(v);
    voiceat(v) = tvoice{};
    voicemute(v, muted);
}

}  // namespace synth
