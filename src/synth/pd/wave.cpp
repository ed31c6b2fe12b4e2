// The wave editor's operations: the edited source/destination pair, clearing
// and randomising a wave, the mouse geometry of the play screen and the
// preview curve it draws.
#include "synth/pd/wave.h"

#include "synth/pd/bend.h"
#include "synth/pd/record.h"

namespace synth {

std::array<relaxed<uint8_t>, waveparamcount> waveparams = [] {
    std::array<relaxed<uint8_t>, waveparamcount> w;
    for (auto& b : w) b = 128;
    return w;
}();

uint8_t waveset = 0;

namespace {

constexpr int screenwidth = 640;
constexpr int halfwidth = 320;
constexpr int columnleft = 24;
constexpr int columnwidth = 96;
constexpr int valuetop = 136;
constexpr int valuebottom = 391;

// Index of the first byte of wave w, or -1 when the wave's three bytes do
// not all lie inside the table.
int wavebase(int w)
{
    if (w < 0 || w * 3 + 2 >= waveparamcount) return -1;
    return w * 3;
}

void setwave(int w, bool random)
{
    const int base = wavebase(w);
    if (base < 0) return;
    for (int k = 0; k < 3; ++k)
        waveparams[base + k] = random ? static_cast<uint8_t>(synthrandom(256)) : uint8_t{128};
}

}  // namespace

void wavereset()
{
    waveset = 0;
    for (auto& b : waveparams) b = 128;
}

void wavepair()
{
    waveset = static_cast<uint8_t>(2 - waveset);
}

void waveclearsrc() { setwave(waveset, false); }
void wavecleardst() { setwave(waveset + 1, false); }
void waverandomsrc() { setwave(waveset, true); }
void waverandomdst() { setwave(waveset + 1, true); }

void wavemouse(wavemousekind kind, int x, int y, uint8_t button, uint8_t buttons)
{
    if (x < 0 || x >= screenwidth || y < valuetop || y > valuebottom) return;
    const int wave = x / halfwidth + waveset;
    // Truncating division: the 24-pixel margin left of the first column
    // still belongs to column 0.
    const int column = (x % halfwidth - columnleft) / columnwidth;
    if (column > 2) return;  // the strip right of the last column
    const int base = wavebase(wave);
    if (base < 0) return;
    const int index = base + column;
    const uint8_t value = static_cast<uint8_t>(valuebottom - y);

    if (kind == wavemousekind::motion) {
        if (buttons == 1) waveparams[index] = value;
        return;
    }
    switch (button) {
    case 1:
        waveparams[index] = value;
        break;
    case 3: {
        // Neighbours are taken across wave boundaries; at either end of
        // the table the byte itself stands in for the missing neighbour.
        const int before = index > 0 ? waveparams[index - 1] : waveparams[index];
        const int after = index + 1 < waveparamcount ? waveparams[index + 1] : waveparams[index];
        waveparams[index] = static_cast<uint8_t>((before + after) / 2);
        break;
    }
    case 4:
        waveparams[index] = static_cast<uint8_t>(waveparams[index] + 1);
        break;
    case 5:
        waveparams[index] = static_cast<uint8_t>(waveparams[index] - 1);
        break;
    default:
        break;
    }
}

namespace {

// The play screen draws the same curves 50 times a second; they change only
// when the edited bytes do.
struct tpreviewcache {
    bool valid = false;
    std::array<uint8_t, 3> bytes{};
    uint8_t feedback = 0;
    wavecurve curve{};
};
std::array<tpreviewcache, waveparamcount / 3> previewcache;

wavecurve computepreview(const std::array<uint8_t, 3>& bytes, uint8_t f);

}  // namespace

wavecurve wavepreview(int w, uint8_t f)
{
    const int base = wavebase(w);
    if (base < 0) return wavecurve{};
    tpreviewcache& c = previewcache[static_cast<size_t>(w)];
    const std::array<uint8_t, 3> bytes = {waveparams[base], waveparams[base + 1], waveparams[base + 2]};
    if (!c.valid || c.bytes != bytes || c.feedback != f) {
        c.curve = computepreview(bytes, f);
        c.bytes = bytes;
        c.feedback = f;
        c.valid = true;
    }
    return c.curve;
}

namespace {

wavecurve computepreview(const std::array<uint8_t, 3>& bytes, uint8_t f)
{
    wavecurve curve{};
    // The renderer's fixed-wave formula at full brightness, with feedback
    // amount f.
    constexpr int64_t bright = 255;
    int64_t avg = 0;
    for (int x = 0; x < 256; ++x) {
        // Unsqueezed (t = 0), the first value bending the first half.
        const int32_t p = x * 256;
        const int32_t d = distortion(p, static_cast<int32_t>(bytes[x >> 7]) - 128);
        const int64_t index = int64_t{d} * pddepth * bright / 256 + p + avg * f / 512;
        const int64_t out = costab[static_cast<uint64_t>(index) & 0xFFFF];
        avg = (avg + out) / 2;
        curve.distortion[x] = static_cast<int32_t>(d);
        curve.output[x] = static_cast<int32_t>(out);
    }
    return curve;
}

}  // namespace

}  // namespace synth
