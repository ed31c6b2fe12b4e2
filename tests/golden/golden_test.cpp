// Golden renders: every demo tune played through the player table and the
// device-free frame loop, with the noise table filled from a fixed seed, a
// subsong change and a rewind on the way. The MD5 of the PCM must match the
// digest committed here for the program whose renderer this test is linked
// with: any change to what a program sounds like shows up as a new digest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/audio.h"
#include "core/playback.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/md5.h"
#include "players/sid/sidplayer.h"
#include "screen/console.h"
#include "synth/synth.h"
#include "synth/voice.h"

namespace {

constexpr uint32_t noiseseed = 20120708;

// The digests each program's renders must keep. They change only when a
// change to what a program sounds like is wanted; any other change that
// moves one is a fault to find, never a digest to update. To take a wanted
// change in: build, run test_golden_<program> (ctest -R '^<program>\.'),
// and copy the digest each failing case prints here, saying in the commit
// why the sound changed. The Windows build is checked against the same
// digests: scripts/test-win32 runs these tests under Wine.
const std::map<std::string, std::map<std::string, std::string>> goldens = {
    {"tarplay",
     {
         {"harbour.sid", "5a42e1f11ce89bf7adc104030356ee29"},
         {"neondrive.sid", "ecebaf61e006e29448799d9f57d4ac41"},
         {"waltz.sid", "12cf688e1d63e94dccf6f175248f8240"},
         {"lanternwalk.ahx", "f5cb80b9585fbc0a226da7d994fca674"},
         {"neondrift.ahx", "4c08de312e10c0dba85b9ee546bb8efd"},
     }},
    {"tarplay8",
     {
         {"harbour.sid", "0c7a0ac7611cd6a5da99a584f2369100"},
         {"neondrive.sid", "fdce6fa18c3827422ce214cd4c51336a"},
         {"waltz.sid", "0a1e166157aebd64f439e0fb7534cf49"},
         {"lanternwalk.ahx", "f9ae8cae6494678b8462a0172026c1e7"},
         {"neondrift.ahx", "ae1c2489225cf2ed76a2bf36e53c1637"},
     }},
    {"tarplay_pd",
     {
         {"harbour.sid", "2bdcc494abce7ed823a545715fbf885b"},
         {"neondrive.sid", "7e37ea21de043bea8685212dccc511f9"},
         {"waltz.sid", "b0f7133cc8c0f844f1ec245953f3faa9"},
         {"lanternwalk.ahx", "cfac0bce4548671f61a804075d5abca1"},
         {"neondrift.ahx", "2288c2002d5381cf9059f2e44dca9b29"},
     }},
};

std::string demopath(const std::string& name)
{
    const char* build = std::getenv("TARPLAY_BUILD");
    return (std::filesystem::path(build ? build : ".") / "demo" / name).string();
}

std::string hex(const std::array<uint8_t, 16>& d)
{
    static const char* digits = "0123456789abcdef";
    std::string s;
    for (uint8_t b : d) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

class GoldenRender : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        olddir = std::filesystem::current_path();
        // The demo folder holds the song-length list the SID player reads.
        std::filesystem::current_path(std::filesystem::path(demopath("")));
        screen::messagesink = [](std::string_view, uint8_t, bool) {};
        synth::synthinit();
        synth::seednoise(noiseseed);
        core::playersinit();
        sid::sidmoduleinit();
        ahx::ahxmoduleinit();
        core::audioreset();
        core::recording = false;
    }
    void TearDown() override { std::filesystem::current_path(olddir); }

    void render(std::vector<int16_t>& pcm, double seconds)
    {
        constexpr int block = 4096;
        const size_t frames = static_cast<size_t>(seconds * synth::samplerate);
        const size_t start = pcm.size();
        pcm.resize(start + (frames + block - 1) / block * block * 2);
        for (size_t done = 0; done < frames; done += block)
            core::renderblock(nullptr, reinterpret_cast<uint8_t*>(&pcm[start + done * 2]), block * 4);
    }

    std::filesystem::path olddir;
};

TEST_P(GoldenRender, DemoTuneRendersAsCommitted)
{
    const std::string name = GetParam();
    core::songext = name.substr(name.size() - 4);
    for (auto& c : core::songext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    core::chooseplayer();
    core::cursong = 0;
    ASSERT_TRUE(core::players[core::curplayer].load(demopath(name))) << name;
    core::playedframes = 0;
    core::tickpos = 0;

    std::vector<int16_t> pcm;
    render(pcm, 12);
    // A subsong change where the tune has one, else a second look at the
    // same song, then a rewind to its start.
    if (core::lastsong > 0) core::cursong = 1;
    render(pcm, 6);
    core::tickpos = 0;
    core::playedframes = 0;
    render(pcm, 6);

    const std::string digest =
        hex(sid::md5digest(reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * sizeof(int16_t)));
    const auto& program = goldens.at(TARPLAY_PROGRAM);
    EXPECT_EQ(digest, program.at(name)) << TARPLAY_PROGRAM << " " << name;
}

// The digests of the voice scene below, for each program's renderer; they
// change, and are taken in, as the demo tunes' digests above.
const std::map<std::string, std::string> scenegoldens = {
    {"tarplay", "03baddf3c7f105f717ed3ea7c0a699ea"},
    {"tarplay8", "766b5085c1ab271f40ebb5935ec8c049"},
    {"tarplay_pd", "cef843b2abf2176f92542d45b475d2d8"},
};

// All nine voices through the voice interface, where the demo tunes never
// go: three voices that sync each other in a ring, one ringing; a chain of
// synced voices from a higher to a lower index; a voice synced to a source
// that holds the test bit for a while; noise; glides; and mutes, changes and
// runs of odd lengths between calls.
TEST(GoldenScene, NineSyncedAndRingingVoicesRenderAsCommitted)
{
    synth::synthinit();
    synth::seednoise(noiseseed);
    synth::lastvoice = synth::voicecount - 1;
    for (int v = 0; v < synth::voicecount; ++v) {
        synth::voicetunereset(v);
        synth::voicephasereset(v);
        synth::voicefreq(v, 110u + 97u * static_cast<uint32_t>(v));
        synth::voicelevel(v, 90);
        synth::voicepulse(v, static_cast<uint8_t>(29 * v));
        synth::voicefilter(v, static_cast<uint8_t>(200 - 23 * v));
    }
    // 0, 1, 2: a ring of sync, 0 also ring-modulated.
    synth::voicecontrol(0, 0x47);
    synth::voicecontrol(1, 0x23);
    synth::voicecontrol(2, 0x13);
    // 4 after 3 after 5; 5 a sawtooth of its own.
    synth::voicecontrol(3, 0x43);
    synth::voicecontrol(4, 0x13);
    synth::voicecontrol(5, 0x21);
    // 6 after 8, which is noise; 7 rings from 6.
    synth::voicecontrol(6, 0x23);
    synth::voicecontrol(7, 0x55);
    synth::voicecontrol(8, 0x81);

    const uint16_t runs[] = {882, 1, 300, 4096, 255, 257, 17};
    std::vector<int16_t> pcm;
    uint32_t seconds = 0;
    for (int call = 0; seconds < 3 * synth::samplerate; ++call) {
        const uint16_t run = runs[call % 7];
        const size_t at = pcm.size();
        pcm.resize(at + 2 * run);
        synth::renderframes(&pcm[at], run);
        seconds += run;
        switch (call % 11) {
        case 2: synth::voicemute(call % 9, !synth::voicemuted(call % 9)); break;
        case 4: synth::voicecontrol(5, call % 2 ? 0x29 : 0x21); break;  // the test bit on and off
        case 6: synth::voicefreq(call % 9, 60u + 13u * static_cast<uint32_t>(call)); break;
        case 8: synth::voicepulse(call % 9, static_cast<uint8_t>(call * 7)); break;
        default: break;
        }
    }
    const std::string digest =
        hex(sid::md5digest(reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * sizeof(int16_t)));
    EXPECT_EQ(digest, scenegoldens.at(TARPLAY_PROGRAM)) << TARPLAY_PROGRAM;
}

INSTANTIATE_TEST_SUITE_P(DemoTunes, GoldenRender,
                         ::testing::Values("harbour.sid", "neondrive.sid", "waltz.sid", "lanternwalk.ahx",
                                           "neondrift.ahx"),
                         [](const auto& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.')) + "_" + n.substr(n.find('.') + 1);
                         });

}  // namespace
