// tarplay-render writes what F2 writes: the same tunes recorded in this
// process through the program's own F2 (recordwav, one after another, as a
// user would) and rendered by the command's worker for the same program, one
// worker taking them in turn, must give the same bytes. FLAC output decodes
// back to the samples of the WAV output.
#include <gtest/gtest.h>

#include <SDL.h>
#ifdef TARPLAY_FLAC
#include <FLAC/stream_decoder.h>
#endif

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/playback.h"
#include "app/program.h"
#include "app/wavrecord.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "portable.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/synth.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t seed = 1234567;

std::vector<uint8_t> readfile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

int run(const std::string& args)
{
    const std::string bin = std::string(std::getenv("TARPLAY_BUILD")) + "/tarplay-render";
    return portable::exitcode(std::system((portable::commandpath(bin) + " " + args).c_str()));
}

class F2Match : public ::testing::Test {
protected:
    static fs::path work;
    static fs::path startdir;

    // The program as it starts, in a folder with copies of the demo tunes
    // and their song lengths, as a user keeps them.
    static void SetUpTestSuite()
    {
        startdir = fs::current_path();
        work = portable::makescratchdir("tarplay-render.");
        const fs::path demo = fs::path(std::getenv("TARPLAY_BUILD")) / "demo";
        for (const char* name : {"harbour.sid", "waltz.sid", "lanternwalk.ahx", "Songlengths.txt"})
            fs::copy_file(demo / name, work / name);
        fs::current_path(work);

        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        synth::synthinit();
        core::playersinit();
        screen::screeninit();
        sid::sidmoduleinit();
        ahx::ahxmoduleinit();
        synth::samplerate = synth::nativerate;
        synth::buildtables();
        screen::screenrows = 50;
        screen::setvideomode(false);
        program::startup();
        screen::messagesink = [](std::string_view, uint8_t, bool) {};
    }

    static void TearDownTestSuite()
    {
        fs::current_path(startdir);
        std::error_code ec;
        fs::remove_all(work, ec);
        screen::messagesink = nullptr;
    }

    // F2 on the tune, at subsong song (from 0), after the noise table was
    // filled from the seed; the recording moved to f2/.
    static fs::path f2record(const std::string& tune, int song)
    {
        const std::string name = tune.substr(0, tune.rfind('.'));
        core::filename = tune;
        core::songname = name;
        core::songext = tune.substr(tune.rfind('.'));
        for (char& c : core::songext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        core::chooseplayer();
        core::cursong = static_cast<uint8_t>(song);
        synth::seednoise(seed);
        shell::recordwav();
        fs::create_directories(work / "f2");
        const fs::path to = work / "f2" / (name + ".wav");
        fs::rename(work / (name + ".wav"), to);
        return to;
    }
};

fs::path F2Match::work;
fs::path F2Match::startdir;

TEST_F(F2Match, SameBytesAsF2ForEveryTuneOneWorkerRendersInTurn)
{
    const fs::path harbour2 = f2record("harbour.sid", 1);
    const fs::path waltz = f2record("waltz.sid", 0);
    const fs::path lantern = f2record("lanternwalk.ahx", 0);

    // Subsong 2 of a tune of three; then a tune and a module after each
    // other in one worker, whose state carries over from tune to tune.
    const std::string common = "--program " TARPLAY_PROGRAM " --seed " + std::to_string(seed) + " -j 1 -o out ";
    ASSERT_EQ(run(common + "--song 2 harbour.sid"), 0);
    ASSERT_EQ(run(common + "waltz.sid lanternwalk.ahx"), 0);

    const std::pair<fs::path, fs::path> pairs[] = {
        {harbour2, work / "out" / "harbour-02.wav"},
        {waltz, work / "out" / "waltz.wav"},
        {lantern, work / "out" / "lanternwalk.wav"},
    };
    for (const auto& [f2, tool] : pairs) {
        const auto a = readfile(f2), b = readfile(tool);
        EXPECT_GT(a.size(), 44u + 16384u) << f2;
        EXPECT_TRUE(a == b) << tool << ": " << b.size() << " bytes, F2 wrote " << a.size();
    }
}

#ifdef TARPLAY_FLAC
// Samples of a FLAC file, interleaved, through libFLAC's own decoder.
struct decoded {
    std::vector<int16_t> pcm;
    unsigned rate = 0, channels = 0, bits = 0;
};

FLAC__StreamDecoderWriteStatus onframe(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                       const FLAC__int32* const buffer[], void* data)
{
    auto& d = *static_cast<decoded*>(data);
    d.rate = frame->header.sample_rate;
    d.channels = frame->header.channels;
    d.bits = frame->header.bits_per_sample;
    for (unsigned i = 0; i < frame->header.blocksize; ++i)
        for (unsigned c = 0; c < frame->header.channels; ++c) d.pcm.push_back(static_cast<int16_t>(buffer[c][i]));
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void onerror(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* data)
{
    static_cast<decoded*>(data)->channels = 999;
}

TEST_F(F2Match, FlacDecodesToTheSamplesOfTheWav)
{
    // A fade and a subsong on the way: whatever the WAV holds, the FLAC
    // holds too.
    const std::string common = "--program " TARPLAY_PROGRAM " --seed 99 --seconds 7 --fade 2 --song 3 harbour.sid ";
    ASSERT_EQ(run(common + "-o wav"), 0);
    ASSERT_EQ(run(common + "-o flac --format flac"), 0);
    const auto wav = readfile(work / "wav" / "harbour-03.wav");
    ASSERT_GT(wav.size(), 44u);
    std::vector<int16_t> want((wav.size() - 44) / 2);
    std::memcpy(want.data(), wav.data() + 44, want.size() * 2);

    decoded d;
    FLAC__StreamDecoder* dec = FLAC__stream_decoder_new();
    ASSERT_NE(dec, nullptr);
    ASSERT_EQ(FLAC__stream_decoder_init_file(dec, (work / "flac" / "harbour-03.flac").string().c_str(), onframe,
                                             nullptr, onerror, &d),
              FLAC__STREAM_DECODER_INIT_STATUS_OK);
    EXPECT_TRUE(FLAC__stream_decoder_process_until_end_of_stream(dec));
    FLAC__stream_decoder_delete(dec);

    EXPECT_EQ(d.rate, synth::samplerate);
    EXPECT_EQ(d.channels, 2u);
    EXPECT_EQ(d.bits, 16u);
    EXPECT_TRUE(d.pcm == want) << d.pcm.size() << " samples decoded, " << want.size() << " in the WAV";
    // The fade has brought the end down to silence, and the length's start
    // still sounds.
    ASSERT_GT(want.size(), 2u * 6 * synth::samplerate);
    EXPECT_EQ(want.back(), 0);
    bool sound = false;
    for (size_t i = 0; i < 2u * synth::samplerate; ++i) sound = sound || want[i] != 0;
    EXPECT_TRUE(sound);
}

#endif

}  // namespace
