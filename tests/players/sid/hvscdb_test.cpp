#include "sid_fixture.h"

#include "players/sid/hvscdb.h"
#include "players/sid/md5.h"
#include "players/sid/songdb.h"

namespace {

namespace fs = std::filesystem;
using sidtest::bytes;

std::string hex(const std::array<uint8_t, 16>& d)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (uint8_t b : d) s += {digits[b >> 4], digits[b & 15]};
    return s;
}

std::string filemd5(const bytes& file) { return hex(sid::md5digest(file.data(), file.size())); }

// A distinct digest per number, for lists that name no real file.
std::array<uint8_t, 16> fakedigest(uint8_t n)
{
    std::array<uint8_t, 16> d{};
    for (size_t i = 0; i < d.size(); ++i) d[i] = static_cast<uint8_t>(n * 17 + i * 29);
    return d;
}

// A tune whose data differs by marker, so that each has its own digest.
bytes tunedata(uint8_t marker)
{
    bytes d;
    sidtest::place(d, 0x00, {0x60, marker});
    sidtest::place(d, 0x10, {0x60});
    return d;
}

std::string writefile(const fs::path& p, const std::string& text)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
}

class HvscTest : public sidtest::SidTest {
protected:
    void SetUp() override { SidTest::SetUp(); sid::hvscreset(); }
    void TearDown() override { sid::hvscreset(); SidTest::TearDown(); }
};

TEST_F(HvscTest, TuneDeepInTheCollectionTakesItsLengthsWithMilliseconds)
{
    const fs::path root = dir.path() / "C64Music";
    const bytes tune = sidtest::makepsid({.songs = 4}, tunedata(1));
    const std::string path = writefile(root / "MUSICIANS/T/Tester/Deep/tune.sid", {tune.begin(), tune.end()});
    writefile(root / "DOCUMENTS/Songlengths.md5",
              "[Database]\n; /MUSICIANS/T/Tester/Deep/tune.sid\n" + filemd5(tune) + "=1:02.500 0:07(G) 0:00.040\n");
    // A list further up is passed by: the nearest one is read.
    writefile(dir.path() / "DOCUMENTS/Songlengths.md5", filemd5(tune) + "=9:59 9:59 9:59 9:59\n");

    ASSERT_TRUE(sid::sidload(path));
    EXPECT_FALSE(sid::songfound);
    EXPECT_TRUE(sid::hvscdb.found);
    EXPECT_EQ(sid::hvscdb.file, root / "DOCUMENTS/Songlengths.md5");
    // Subsong 3 is past the listed lengths: the five-minute default.
    const uint64_t expected[] = {62500u * 44100 / 1000, 7u * 44100, 40u * 44100 / 1000, 300u * 44100};
    for (uint8_t song = 0; song < 4; ++song) {
        core::cursong = song;
        sid::sidupdate();
        EXPECT_EQ(core::songframes.load(), expected[song]) << "subsong " << int(song);
    }
}

TEST_F(HvscTest, ClassicDatabaseKeepsItsLengthForTunesItKnows)
{
    const bytes data = tunedata(3);
    const auto digest = sid::tunedigest(data.data(), data.size(), 0x1000, 0x1010, 1, 0);
    sid::songdb = {18, 0};
    sid::songdb.insert(sid::songdb.end(), digest.begin(), digest.end());
    sid::songdb.insert(sid::songdb.end(), {37, 0});
    sid::songdbsize = static_cast<uint32_t>(sid::songdb.size());
    sid::songdbloaded = true;
    const bytes tune = sidtest::makepsid({}, data);
    // The same tune as RSID: the classic identity is defined for PSID only,
    // so the collection's list answers for it.
    const bytes rsid = sidtest::makepsid({.magic = "RSID"}, data);
    writefile(dir.path() / "DOCUMENTS/Songlengths.md5", filemd5(tune) + "=1:00.250\n" + filemd5(rsid) + "=0:42\n");

    ASSERT_TRUE(sid::sidload(writefile(dir.path() / "known.sid", {tune.begin(), tune.end()})));
    EXPECT_TRUE(sid::songfound);
    EXPECT_EQ(core::songframes.load(), 37u * 44100);

    ASSERT_TRUE(sid::sidload(writefile(dir.path() / "known-rsid.sid", {rsid.begin(), rsid.end()})));
    EXPECT_FALSE(sid::songfound);
    EXPECT_EQ(core::songframes.load(), 42u * 44100);
}

TEST(HvscParse, MalformedLinesAreSkippedWithoutLosingTheOthers)
{
    const char* bad[] = {"=0:6", "=1:60", "0:01", "x=0:01", "=1:02.5x", "=",
                         "=(G) 0:01", "=0:01(G", "=10000:00", "=0:01.1234"};
    // A good line after each bad one: a parser that loses its place misses it.
    std::string text = "[Database]\r\n; /MUSICIANS/A/Someone/Tune.sid\r\n";
    for (uint8_t i = 0; i < std::size(bad); ++i)
        text += hex(fakedigest(i)) + bad[i] + "\r\n" + hex(fakedigest(100 + i)) + "=0:" + std::to_string(10 + i) + "\r\n";
    sid::hvscreset();
    sid::hvscparse(text);

    EXPECT_EQ(sid::hvscdb.skipped, std::size(bad));
    for (uint8_t i = 0; i < std::size(bad); ++i) {
        EXPECT_FALSE(sid::hvscfind(fakedigest(i))) << bad[i];
        ASSERT_TRUE(sid::hvscfind(fakedigest(100 + i))) << "after " << bad[i];
        uint64_t ms = 0;
        ASSERT_TRUE(sid::hvscsongframes(0, 1000, ms));
        EXPECT_EQ(ms, 1000u * (10 + i));
    }
    sid::hvscreset();
}

}  // namespace
