// Helpers for the tests that load what ahxmake writes through the real AHX
// player: loading from a file, and the loaded song turned back into a
// description for comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ahxdesc.h"
#include "ahxparse.h"
#include "ahxwrite.h"
#include "core/playback.h"
#include "portable.h"
#include "players/ahx/ahxsong.h"
#include "screen/console.h"
#include "synth/synth.h"

namespace ahxtest {

inline std::string sourcedir()
{
    const char* env = std::getenv("TARPLAY_SOURCE");
    return env ? env : AHXMAKE_SOURCE_DIR;
}

inline std::string builddir()
{
    const char* env = std::getenv("TARPLAY_BUILD");
    return env ? env : AHXMAKE_BUILD_DIR;
}

inline std::string readfile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The demo descriptions, sorted by name.
inline std::vector<std::filesystem::path> demosources()
{
    std::vector<std::filesystem::path> out;
    for (const auto& e : std::filesystem::directory_iterator(sourcedir() + "/demo/source"))
        if (e.path().extension() == ".ahxt")
            out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

// Fresh player and shell state, messages collected instead of shown.
class loadedtest : public ::testing::Test {
protected:
    std::vector<std::string> messages;

    void SetUp() override
    {
        static bool tablesready = false;
        if (!tablesready) {
            synth::synthinit();
            tablesready = true;
        }
        screen::messagesink = [this](std::string_view msg, uint8_t, bool) {
            messages.emplace_back(msg);
        };
        core::cursong = 0;
        core::recording = false;
        core::quitplay = false;
        core::playedframes = 0;
        core::tickpos = 0;
        ahx::ahxreset();
    }

    void TearDown() override { screen::messagesink = nullptr; }

    // Writes the description's module to a file and loads it from there.
    bool loadmodule(const ahxmake::moduledesc& m)
    {
        std::vector<uint8_t> bytes;
        std::string why;
        EXPECT_TRUE(ahxmake::writemodule(m, bytes, why)) << why;
        const auto path = std::filesystem::temp_directory_path() /
                          ("ahxmake_test_" + std::to_string(portable::processid()) + ".ahx");
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
        const bool ok = ahx::ahxload(path.string());
        std::filesystem::remove(path);
        return ok;
    }
};

// The loaded song as a description: what the player took from the file.
inline ahxmake::moduledesc loadedsong()
{
    const ahx::tAHXSong& s = ahx::player.song;
    ahxmake::moduledesc m;
    m.title = s.title;
    m.revision = s.revision;
    m.speedmul = s.speedmul;
    m.restartpos = s.restartpos;
    m.tracklen = s.tracklen;
    for (int i = 0; i < s.subsongcount; i++)
        m.subsongs.push_back(s.subsongs[size_t(i)]);
    for (int p = 0; p < s.poscount && p < ahx::maxpositions; p++) {
        ahxmake::positiondesc pd;
        for (int c = 0; c < 4; c++) {
            pd.track[c] = s.positions[size_t(p)].track[c];
            pd.transpose[c] = s.positions[size_t(p)].transpose[c];
        }
        m.positions.push_back(pd);
    }
    for (int t = 0; t <= s.lasttrack && t < ahx::maxtracks; t++) {
        auto& td = m.tracks[size_t(t)];
        td.described = true;
        for (int r = 0; r < s.tracklen && r < ahx::maxtracklen; r++) {
            const ahx::ahxstep& st = s.tracks[size_t(t)][size_t(r)];
            td.steps.push_back({st.note, st.instr, st.fx, st.fxparam});
        }
    }
    for (int i = 1; i <= s.instrcount && i < ahx::maxinstruments; i++) {
        const ahx::tAHXInstrument& in = s.instruments[size_t(i)];
        ahxmake::instrumentdesc d;
        d.name = in.name;
        d.volume = in.instvol;
        d.wavelen = in.wavelen;
        d.attackframes = in.attackframes;
        d.attackvol = in.attackvol;
        d.decayframes = in.decayframes;
        d.decayvol = in.decayvol;
        d.sustainframes = in.sustainframes;
        d.releaseframes = in.releaseframes;
        d.releasevol = in.releasevol;
        d.filterlow = in.filterlow;
        d.filterhigh = in.filterhigh;
        d.filterspeed = in.filterspeed;
        d.squarelow = in.squarelow;
        d.squarehigh = in.squarehigh;
        d.squarespeed = in.squarespeed;
        d.vibdelay = in.vibdelay;
        d.vibdepth = in.vibdepth;
        d.vibspeed = in.vibspeed;
        d.hardcutframes = in.hardcutframes;
        d.hardcutrelease = in.hardcutrelease != 0;
        d.plistspeed = in.plistspeed;
        for (int e = 0; e < in.plistlen && e < ahx::maxplist; e++) {
            const ahx::ahxplistentry& pe = in.plist[size_t(e)];
            d.plist.push_back({pe.note, pe.fixed != 0, pe.wave, pe.fx1, pe.param1, pe.fx2,
                               pe.param2});
        }
        m.instruments.push_back(d);
    }
    return m;
}

}  // namespace ahxtest
