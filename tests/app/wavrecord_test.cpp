// Rendering a tune into a WAV file: header, length, repeatability, abort,
// progress and the failures a user can cause.
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <csignal>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/wavrecord.h"
#include "playscreen_fixture.h"
#include "portable.h"

namespace {

namespace fs = std::filesystem;

class WavRecord : public PlayFixture {
protected:
    fs::path startdir;
    fs::path workdir;

    void SetUp() override
    {
        PlayFixture::SetUp();
        if (HasFatalFailure()) return;
        startdir = fs::current_path();
        workdir = portable::makescratchdir("tarplay-wav.");
        fs::current_path(workdir);
        core::silent = true;
    }

    void TearDown() override
    {
        fs::current_path(startdir);
        std::error_code ec;
        fs::remove_all(workdir, ec);
        PlayFixture::TearDown();
    }

    static std::vector<uint8_t> readfile(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    static uint32_t le32(const std::vector<uint8_t>& b, size_t at)
    {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    }

    static uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

    static std::string tag(const std::vector<uint8_t>& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

    // Frames in the data chunk, after checking that both sizes match the file.
    static size_t checkedframes(const std::vector<uint8_t>& b)
    {
        EXPECT_GE(b.size(), 44u);
        if (b.size() < 44) return 0;
        EXPECT_EQ(le32(b, 4), b.size() - 8);
        EXPECT_EQ(le32(b, 40), b.size() - 44);
        EXPECT_EQ((b.size() - 44) % 16384, 0u) << "whole blocks";
        return (b.size() - 44) / 4;
    }

    static std::string progressmessage() { return "000%|Recording tune.tst to tune.wav"; }
};

TEST_F(WavRecord, HeaderFieldsAndSizes)
{
    testplayer::cfg.songframes = 44100;
    shell::recordwav();
    const auto b = readfile("tune.wav");
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(tag(b, 12), "fmt ");
    EXPECT_EQ(le32(b, 16), 16u);
    EXPECT_EQ(le16(b, 20), 1);
    EXPECT_EQ(le16(b, 22), 2);
    EXPECT_EQ(le32(b, 24), 44100u);
    EXPECT_EQ(le32(b, 28), 176400u);
    EXPECT_EQ(le16(b, 32), 4);
    EXPECT_EQ(le16(b, 34), 16);
    EXPECT_EQ(tag(b, 36), "data");
    // 50 ticks per second: the tick at frame 44100 ends it, inside the
    // eleventh block.
    EXPECT_EQ(checkedframes(b), 11u * 4096u);
    bool sound = false;
    for (size_t i = 44; i < b.size(); ++i) sound = sound || b[i] != 0;
    EXPECT_TRUE(sound);

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, progressmessage());
    EXPECT_EQ(messages[0].attr, 0x2F);
    EXPECT_FALSE(messages[0].wait);
    EXPECT_EQ(messages[1].text, "Recording Done");
    EXPECT_EQ(messages[1].attr, 0x2F);
    EXPECT_FALSE(messages[1].wait);
    EXPECT_EQ(testplayer::rec.stops, 0) << "recording does not call stop";
}

TEST_F(WavRecord, LengthIsTheFirstTickAtOrPastTheEndInWholeBlocks)
{
    // 689 ticks per second: 64 frames per tick, so ticks meet block edges.
    const struct {
        uint64_t songframes;
        size_t blocks;
    } cases[] = {{0, 1}, {4032, 1}, {4033, 2}, {4095, 2}, {4096, 2}, {4097, 2}, {8191, 3}, {8192, 3}};
    for (const auto& c : cases) {
        testplayer::install();
        testplayer::cfg.rate = 689;
        testplayer::cfg.songframes = c.songframes;
        shell::recordwav();
        EXPECT_EQ(checkedframes(readfile("tune.wav")), c.blocks * 4096) << "length " << c.songframes;
        ASSERT_FALSE(testplayer::rec.tickframes.empty());
        EXPECT_GE(testplayer::rec.tickframes.back(), c.songframes);
        core::playersinit();
    }
}

TEST_F(WavRecord, PlayersTickAsRecordingUntilTheEnd)
{
    testplayer::cfg.songframes = 10000;
    EXPECT_TRUE(shell::recordwav());
    ASSERT_FALSE(testplayer::rec.recordingatticks.empty());
    for (bool r : testplayer::rec.recordingatticks) EXPECT_TRUE(r);
    EXPECT_FALSE(core::recording.load()) << "playback after it plays on past the length";
    EXPECT_TRUE(core::silent.load());
    EXPECT_EQ(testplayer::rec.tickframes.front(), 0u);
}

TEST_F(WavRecord, SecondRecordingIsIdentical)
{
    testplayer::cfg.songframes = 20000;
    shell::recordwav();
    const auto first = readfile("tune.wav");

    // Whatever happened in between: a countdown left mid-tick, voices that
    // kept playing, a position far along.
    core::renderblockcountdown = 517;
    for (auto& v : synth::voices) {
        v.phase = 0x123456;
        v.volume = 200;
        v.feedback = 999;
        v.bright = 17;
    }
    core::tickpos = 4000;
    core::playedframes = 1u << 30;
    shell::recordwav();
    const auto second = readfile("tune.wav");
    ASSERT_EQ(first.size(), second.size());
    EXPECT_TRUE(first == second);
    EXPECT_EQ(testplayer::rec.tickframes[0], 0u);
}

TEST_F(WavRecord, KeyPressAbortsAfterTheFirstBlock)
{
    testplayer::cfg.songframes = 44100ull * 60;
    pushkey(SDLK_a);
    EXPECT_TRUE(shell::recordwav());
    EXPECT_EQ(checkedframes(readfile("tune.wav")), 4096u);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "Recording Done") << "also after an abort";
    const int len = static_cast<int>(progressmessage().size());
    EXPECT_EQ(text(25, 39 - len / 2 + 1, 3), "000");
    EXPECT_EQ(cell(40 - len / 2, 26).code, 0xB6);
    EXPECT_EQ(cell(40 - len / 2 + 1, 26).code, 0xCD);
    EXPECT_EQ(cell(40 - len / 2 + 2, 26).code, ' ');
    EXPECT_EQ(cell(40 + len / 2, 26).code, 0xC7);
    SDL_Event e;
    EXPECT_EQ(SDL_PollEvent(&e), 0) << "the key was taken";
}

TEST_F(WavRecord, MouseButtonAbortsButMotionDoesNot)
{
    testplayer::cfg.songframes = 44100ull * 60;
    SDL_Event motion = motionevent(10, 10, 0);
    ASSERT_EQ(SDL_PushEvent(&motion), 0);
    SDL_Event press = buttonevent(10, 10, 1);
    ASSERT_EQ(SDL_PushEvent(&press), 0);
    shell::recordwav();
    EXPECT_EQ(checkedframes(readfile("tune.wav")), 2u * 4096u) << "motion was taken after block 1, the press after 2";
}

TEST_F(WavRecord, ProgressDigitsAndBar)
{
    testplayer::cfg.songframes = 44100;
    shell::recordwav();
    const std::string msg = progressmessage();
    const int len = static_cast<int>(msg.size());
    const int boxx = 39 - len / 2;
    // 45056 of 44100 frames: 102 %.
    EXPECT_EQ(text(25, boxx + 1, 3), "102");
    EXPECT_EQ(cell(boxx + 1, 25).attr, 0x2F);
    EXPECT_EQ(cell(40 - len / 2, 26).code, 0xB6);
    EXPECT_EQ(cell(40 + len / 2, 26).code, 0xCD) << "the last block runs past the end mark";
    for (int block = 1; block <= 11; ++block) {
        const int pos = static_cast<int>(static_cast<uint64_t>(len - 2) * 4096 * block / 44100);
        EXPECT_EQ(cell(40 - len / 2 + 1 + pos, 26).code, 0xCD) << "block " << block;
        EXPECT_EQ(cell(40 - len / 2 + 1 + pos, 26).attr, 0x2F);
    }
    EXPECT_EQ(cell(40 - len / 2 + 1, 26).code, ' ') << "the first block is past position 0";
}

TEST_F(WavRecord, UnknownLengthRecordsOneBlockAtFullProgress)
{
    testplayer::cfg.songframes = 0;
    EXPECT_TRUE(shell::recordwav());
    EXPECT_EQ(checkedframes(readfile("tune.wav")), 4096u);
    const int len = static_cast<int>(progressmessage().size());
    EXPECT_EQ(text(25, 39 - len / 2 + 1, 3), "100");
    for (int pos = 0; pos <= len - 2; ++pos) EXPECT_EQ(cell(40 - len / 2 + 1 + pos, 26).code, 0xCD) << pos;
}

TEST_F(WavRecord, RefusedTuneCreatesNoFile)
{
    testplayer::cfg.loadok = false;
    EXPECT_FALSE(shell::recordwav());
    EXPECT_FALSE(fs::exists("tune.wav"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(WavRecord, FileThatCannotBeCreatedIsReported)
{
    testplayer::cfg.songframes = 10000;
    fs::create_directory("tune.wav");
    EXPECT_FALSE(shell::recordwav());
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text.substr(0, 5), "?WAV:");
    EXPECT_NE(messages[1].text.find("tune.wav"), std::string::npos);
    EXPECT_EQ(messages[1].attr, 0x4F);
    EXPECT_TRUE(messages[1].wait);
    EXPECT_LE(messages[1].text.size(), 78u);
    EXPECT_FALSE(core::recording.load());
    EXPECT_TRUE(fs::is_directory("tune.wav"));

    // The program goes on: once the way is clear the recording works.
    fs::remove("tune.wav");
    messages.clear();
    shell::recordwav();
    EXPECT_EQ(checkedframes(readfile("tune.wav")), 3u * 4096u);
    EXPECT_EQ(messages.back().text, "Recording Done");
}

#ifndef _WIN32
// A disk that fills up is made with a file-size limit, which Windows lacks.
TEST_F(WavRecord, FullDiskIsReportedThePartialFileRemovedAndTheOldFileKept)
{
    // The disk fills up after 100,000 bytes of any one file.
    const std::vector<uint8_t> old(200000, 0x5A);
    std::ofstream("tune.wav", std::ios::binary).write(reinterpret_cast<const char*>(old.data()), 200000);
    testplayer::cfg.songframes = 44100ull * 10;
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 100000;
    const auto oldhandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_FALSE(shell::recordwav());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldhandler);

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text.substr(0, 5), "?WAV:");
    EXPECT_EQ(messages[1].attr, 0x4F);
    EXPECT_TRUE(messages[1].wait);
    EXPECT_EQ(readfile("tune.wav"), old) << "the previous recording survives";
    int files = 0;
    for (const auto& e : fs::directory_iterator(".")) files += e.is_regular_file();
    EXPECT_EQ(files, 1) << "nothing of the failed recording is left";
}
#endif

TEST_F(WavRecord, ACompleteRecordingReplacesTheOldFile)
{
    std::ofstream("tune.wav") << "old";
    testplayer::cfg.songframes = 10000;
    shell::recordwav();
    EXPECT_EQ(checkedframes(readfile("tune.wav")), 3u * 4096u);
    EXPECT_EQ(messages.back().text, "Recording Done");
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

}  // namespace
