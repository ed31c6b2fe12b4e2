// Field-by-field comparison of two module descriptions for the tests.
#pragma once

#include <gtest/gtest.h>

#include "ahxdesc.h"

namespace ahxtest {

inline void expectsamemodule(const ahxmake::moduledesc& want, const ahxmake::moduledesc& got)
{
    EXPECT_EQ(want.title, got.title);
    EXPECT_EQ(want.revision, got.revision);
    EXPECT_EQ(want.speedmul, got.speedmul);
    EXPECT_EQ(want.restartpos, got.restartpos);
    EXPECT_EQ(want.tracklen, got.tracklen);
    EXPECT_EQ(want.subsongs, got.subsongs);
    ASSERT_EQ(want.positions.size(), got.positions.size());
    for (size_t p = 0; p < want.positions.size(); p++) {
        EXPECT_EQ(want.positions[p].track, got.positions[p].track) << "position " << p;
        EXPECT_EQ(want.positions[p].transpose, got.positions[p].transpose) << "position " << p;
    }
    for (int t = 0; t < ahxmake::maxtracks; t++) {
        const auto& wt = want.tracks[t];
        const auto& gt = got.tracks[t];
        if (!wt.described && !gt.described)
            continue;
        for (int r = 0; r < want.tracklen; r++) {
            ahxmake::stepdesc ws = r < int(wt.steps.size()) ? wt.steps[r] : ahxmake::stepdesc{};
            ahxmake::stepdesc gs = r < int(gt.steps.size()) ? gt.steps[r] : ahxmake::stepdesc{};
            EXPECT_EQ(ws.note, gs.note) << "track " << t << " row " << r;
            EXPECT_EQ(ws.instr, gs.instr) << "track " << t << " row " << r;
            EXPECT_EQ(ws.fx, gs.fx) << "track " << t << " row " << r;
            EXPECT_EQ(ws.param, gs.param) << "track " << t << " row " << r;
        }
    }
    ASSERT_EQ(want.instruments.size(), got.instruments.size());
    for (size_t i = 0; i < want.instruments.size(); i++) {
        const auto& a = want.instruments[i];
        const auto& b = got.instruments[i];
        SCOPED_TRACE("instrument " + std::to_string(i + 1));
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.volume, b.volume);
        EXPECT_EQ(a.wavelen, b.wavelen);
        EXPECT_EQ(a.attackframes, b.attackframes);
        EXPECT_EQ(a.attackvol, b.attackvol);
        EXPECT_EQ(a.decayframes, b.decayframes);
        EXPECT_EQ(a.decayvol, b.decayvol);
        EXPECT_EQ(a.sustainframes, b.sustainframes);
        EXPECT_EQ(a.releaseframes, b.releaseframes);
        EXPECT_EQ(a.releasevol, b.releasevol);
        EXPECT_EQ(a.filterlow, b.filterlow);
        EXPECT_EQ(a.filterhigh, b.filterhigh);
        EXPECT_EQ(a.filterspeed, b.filterspeed);
        EXPECT_EQ(a.squarelow, b.squarelow);
        EXPECT_EQ(a.squarehigh, b.squarehigh);
        EXPECT_EQ(a.squarespeed, b.squarespeed);
        EXPECT_EQ(a.vibdelay, b.vibdelay);
        EXPECT_EQ(a.vibdepth, b.vibdepth);
        EXPECT_EQ(a.vibspeed, b.vibspeed);
        EXPECT_EQ(a.hardcutframes, b.hardcutframes);
        EXPECT_EQ(a.hardcutrelease, b.hardcutrelease);
        EXPECT_EQ(a.plistspeed, b.plistspeed);
        ASSERT_EQ(a.plist.size(), b.plist.size());
        for (size_t e = 0; e < a.plist.size(); e++) {
            EXPECT_EQ(a.plist[e].note, b.plist[e].note) << "entry " << e;
            EXPECT_EQ(a.plist[e].fixed, b.plist[e].fixed) << "entry " << e;
            EXPECT_EQ(a.plist[e].wave, b.plist[e].wave) << "entry " << e;
            EXPECT_EQ(a.plist[e].fx1, b.plist[e].fx1) << "entry " << e;
            EXPECT_EQ(a.plist[e].param1, b.plist[e].param1) << "entry " << e;
            EXPECT_EQ(a.plist[e].fx2, b.plist[e].fx2) << "entry " << e;
            EXPECT_EQ(a.plist[e].param2, b.plist[e].param2) << "entry " << e;
        }
    }
}

// A description that touches every part of the language.
inline const char* fulldescription()
{
    return R"(# every feature once
title "Full \"test\" song"
revision 0
speedmul 3
restart 1
tracklen 8
subsong 1
subsong 2

instrument 1 "Bass  line"
  volume 48
  wavelen 5
  attack 2 64
  decay 10 40
  sustain 20
  release 12 0
  filter 10 50 63
  square 8 56 3
  vibrato 12 15 20
  hardcut 7 release
  plist 2
    +0   saw   000 ---
    +12  sqr   340 430
    =C-3 noise 1FF 2ff
    ---  keep  501 ---
  end
end

instrument 2 ""
  volume 0
  wavelen 0
  hardcut 3
end

track 0
  00: C-1 01 F03
end

track 3
  C-3 01 C40
  --- -- ---
  C#3 2
  d#5
  06: B-5 02 E C5
  --- 0 - --
end

positions
  0 +0   3 -12  3 127  0 -128
  3 0    0 0    0 0    3 5
  0 0    0 0    0 0    0 0
end
)";
}

}  // namespace ahxtest
