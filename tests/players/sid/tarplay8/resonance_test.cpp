// tarplay8's renderer is the one that hears the SID filter's resonance: the
// register model hands it over while the low-pass is on, keeps it when the
// filter mode changes, and clears it on reset.
#include <gtest/gtest.h>

#include "players/sid/sidmodel.h"
#include "synth/fm/record.h"

namespace {

TEST(SidResonance, ReachesTheFmRendererAsWrittenAndClearsOnReset)
{
    sid::sidreset();
    EXPECT_EQ(synth::resonance.load(), 0);
    sid::sidwrite(0x18, 0x1F);
    sid::sidwrite(0x17, 0xF1);
    EXPECT_EQ(synth::resonance.load(), 255);
    sid::sidwrite(0x17, 0x26);
    EXPECT_EQ(synth::resonance.load(), 34);
    sid::sidwrite(0x18, 0x6F);  // band- and high-pass only
    EXPECT_EQ(synth::resonance.load(), 34) << "resonance keeps its last value";
    sid::sidreset();
    EXPECT_EQ(synth::resonance.load(), 0);
}

}  // namespace
