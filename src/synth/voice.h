// How players and the shell reach the synth's voices, whatever renderer a
// program links. Each renderer brings its own voice record, tables and
// per-frame loop behind this header; players program voices only through
// these calls, so the frequency-to-step rule and the resets are written once.
#pragma once

#include <cstdint>

namespace synth {

// Programming a voice, as a player does on every tick.
// hz, step, notefrac and octave from a frequency in whole Hz.
void voicefreq(int v, uint32_t hz);
void voicecontrol(int v, uint8_t control);
void voicepulse(int v, uint8_t pulse);
void voicefilter(int v, uint8_t filter);
void voicelevel(int v, uint8_t level);
// Sync and ring sources (255 = none) and the noise flag; renderers that
// decode the control byte recompute them on their next call.
void voicemodulation(int v, uint8_t syncsrc, uint8_t ringsrc, uint8_t noise);
void voicephasereset(int v);
// The phase the voice last reported to the voices it syncs: cleared, it
// reports no wrap on its next frame.
void voicelastphaseclear(int v);
// The reset every player does at tune start: step, level, notefrac, octave 0.
void voicetunereset(int v);

// The SID filter's resonance (0..255), which the FM renderer turns into a
// modulator for every voice; the other renderers have no use for it.
void setresonance(uint8_t resonance);

// The most voices this program sounds: a tune with more (a third SID's
// last voice) leaves the rest unheard.
int voicelimit();

// The last oscillator output, which a tune may read back (SID voice 3).
int32_t voicelastout(int v);

// Muting, from the play screen (or a tool). A renderer whose record has no
// mute flag reports every voice unmuted and ignores the request.
void voicemute(int v, bool muted);
bool voicemuted(int v);

// What the play screen shows of a voice.
struct tvoiceview {
    uint16_t notefrac;
    uint8_t octave;
    uint8_t control;
    uint8_t muted;
    uint8_t pulse;
    uint8_t filter;
    uint8_t level;
    uint8_t noise;
};
tvoiceview voiceview(int v);

// Every field of a voice back to zero; with keepmute its mute flag stays.
void voiceclear(int v, bool keepmute);

// The renderer's own part of the synth's start-up: its cosine table, and
// its noise table from the next draws of the synth's generator.
void buildcostab();
void fillnoise();

// Renders count frames (left, right) into out[2j], out[2j + 1]; count 0
// writes nothing. Called on the audio thread, or by the recorder while the
// callback is silent.
void renderframes(int16_t* out, uint16_t count);

}  // namespace synth
