// The renderer's stretch routines at the edges of what a voice's glides can
// derive and of the 16-bit mix, on both paths (eight frames at a time and
// one by one), over lengths around the eight-frame lanes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "synth/pd/record.h"
#include "synth/pd/wide.h"
#include "synth/synth.h"

namespace {

class StretchRoutines : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        synth::samplerate = 44100;
        synth::synthinit();
        synth::setbendwide(GetParam());
    }
    void TearDown() override { synth::setbendwide(true); }
};

// Bent phases from a phase and a step on the path under test, and from the
// same phases given one by one, at the corners of morph, brightness and the
// wave bytes.
TEST_P(StretchRoutines, BentPhasesAgreeWhateverTheyAreComputedFrom)
{
    std::mt19937 rng{1207};
    const synth::tbend bends[] = {{0, 0, -128, 127}, {254, 1020, 127, -128}, {254, 1020, -128, -128}, {0, 1020, 127, 127}};
    for (const synth::tbend& b : bends) {
        for (uint32_t count : {0u, 1u, 7u, 8u, 9u, 17u, 256u}) {
            const uint32_t phase = static_cast<uint32_t>(rng()), step = static_cast<uint32_t>(rng());
            std::vector<int32_t> stepped(count + 1, 0x5A5A5A5A), known(count + 1, 0x5A5A5A5A);
            EXPECT_EQ(synth::bendphases(stepped.data(), count, phase, step, b), phase + count * step);
            for (uint32_t k = 0; k < count; ++k) known[k] = static_cast<int32_t>(((phase + (k + 1) * step) >> 8) & 0xFFFF);
            // The known phases bent one by one, whichever path is under test.
            synth::setbendwide(false);
            synth::bendinplace(known.data(), count, b);
            synth::setbendwide(GetParam());
            EXPECT_EQ(stepped, known) << "count " << count << " t " << b.t;
            EXPECT_EQ(known[count], 0x5A5A5A5A) << "wrote past the stretch";
        }
    }
}

TEST_P(StretchRoutines, MixTruncatesClipsAndScalesAtTheEdges)
{
    // Through window and ring: 32767 * 32767 / 32768 = 32766, then 32765,
    // at level 255: 32765 * 255 / 1024 = 8159. -32768 three times: 32768,
    // then -32768, at level 255: -8160; each added to a sum of 1. Nine
    // frames, to reach past a lane.
    const std::vector<int32_t> top = {32767, -32768, 32767, -32768, 32767, -32768, 32767, -32768, 32767};
    const std::vector<uint8_t> full(9, 255);
    std::vector<int32_t> both(9, 1);
    synth::mixvoice(both.data(), 9, {top.data(), top.data(), top.data(), full.data()});
    EXPECT_EQ(both, (std::vector<int32_t>{8160, -8159, 8160, -8159, 8160, -8159, 8160, -8159, 8160}));
    // Through the window alone: -32768 * -32768 / 32768 = 32768, clipped to
    // 32767 before the level: 8159, not 8160.
    const std::vector<int32_t> low = {-32768};
    std::vector<int32_t> clipped(1, 0);
    synth::mixvoice(clipped.data(), 1, {low.data(), low.data(), nullptr, full.data()});
    EXPECT_EQ(clipped[0], 8159);
}

INSTANTIATE_TEST_SUITE_P(Paths, StretchRoutines, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "wide" : "plain"; });

}  // namespace
