// A voice's share of the mix at the edges of 16 bits, on both paths (eight
// frames at a time and one by one) and past an eight-frame lane. Random
// states rarely reach these edges.
#include <gtest/gtest.h>

#include <vector>

#include "synth/pd/wide.h"

namespace {

class StretchRoutines : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { synth::setbendwide(GetParam()); }
    void TearDown() override { synth::setbendwide(true); }
};

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
