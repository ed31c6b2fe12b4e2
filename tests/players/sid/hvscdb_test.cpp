#include "sid_fixture.h"

#include <cctype>

#include "players/sid/hvscdb.h"
#include "players/sid/md5.h"

namespace {

namespace fs = std::filesystem;
using sidtest::bytes;
using sidtest::psidheader;

std::string lowerhex(const std::array<uint8_t, 16>& d)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (uint8_t b : d) s += {digits[b >> 4], digits[b & 15]};
    return s;
}

std::string filemd5(const bytes& file)
{
    return lowerhex(sid::md5digest(file.data(), file.size()));
}

// A distinct digest per number, for lists that name no real file.
std::array<uint8_t, 16> fakedigest(uint8_t n)
{
    std::array<uint8_t, 16> d{};
    for (size_t i = 0; i < d.size(); ++i) d[i] = static_cast<uint8_t>(n * 17 + i * 29);
    return d;
}

// A tune whose data differs by marker, so that each has its own digest.
bytes tunefile(uint8_t marker, uint16_t songs = 1)
{
    psidheader h;
    h.songs = songs;
    bytes d;
    sidtest::place(d, 0x00, {0x60, marker});
    sidtest::place(d, 0x10, {0x60});
    return sidtest::makepsid(h, d);
}

void writefile(const fs::path& p, std::string_view text)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

// Milliseconds of a subsong of the tune last found: frames at 1000 per second.
int64_t listedms(uint16_t song)
{
    uint64_t frames = 0;
    return sid::hvscsongframes(song, 1000, frames) ? static_cast<int64_t>(frames) : -1;
}

class HvscTest : public sidtest::SidTest {
protected:
    void SetUp() override
    {
        SidTest::SetUp();
        sid::hvscreset();
        olddir = fs::current_path();
    }
    void TearDown() override
    {
        fs::current_path(olddir);
        sid::hvscreset();
        SidTest::TearDown();
    }

    // Writes a tune at a path below the temporary folder.
    std::string puttune(const fs::path& rel, const bytes& file)
    {
        const fs::path p = dir.path() / rel;
        fs::create_directories(p.parent_path());
        dir.write(rel.string(), file);
        return p.string();
    }

    fs::path olddir;
};

TEST_F(HvscTest, TuneDeepInTheCollectionFindsTheNearestListOnce)
{
    const fs::path root = dir.path() / "C64Music";
    const bytes tune = tunefile(1, 4);
    const bytes other = tunefile(2);
    const std::string tunepath = puttune("C64Music/MUSICIANS/T/Tester/Deep/tune.sid", tune);
    const std::string otherpath = puttune("other.sid", other);
    writefile(root / "DOCUMENTS/Songlengths.md5",
              "[Database]\n; /MUSICIANS/T/Tester/Deep/tune.sid\n" + filemd5(tune) + "=1:02.500 0:07(G) 0:00.040\n");
    // A folder where the file would be, and a list further up, are passed by.
    fs::create_directories(root / "MUSICIANS/DOCUMENTS/Songlengths.md5");
    writefile(dir.path() / "DOCUMENTS/Songlengths.md5",
              filemd5(tune) + "=9:59 9:59 9:59 9:59\n" + filemd5(other) + "=0:05\n");

    ASSERT_TRUE(sid::sidload(tunepath));
    EXPECT_FALSE(sid::songfound);
    EXPECT_TRUE(sid::hvscdb.found);
    EXPECT_EQ(sid::hvscdb.file, root / "DOCUMENTS/Songlengths.md5");
    EXPECT_EQ(shell::songframes.load(), 62500u * 44100 / 1000);
    const uint64_t expected[] = {7u * 44100, 40u * 44100 / 1000, 300u * 44100};
    for (uint8_t song = 1; song <= 3; ++song) {
        shell::cursong = song;
        sid::sidupdate();
        EXPECT_EQ(shell::songframes.load(), expected[song - 1]) << "subsong " << int(song);
    }

    // The list read first stays for the run: the one above is not read for
    // a tune that the first does not name.
    fs::remove(root / "DOCUMENTS/Songlengths.md5");
    shell::cursong = 0;
    ASSERT_TRUE(sid::sidload(otherpath));
    EXPECT_FALSE(sid::hvscdb.found);
    EXPECT_EQ(shell::songframes.load(), 300u * 44100);
    EXPECT_EQ(sid::hvscdb.file, root / "DOCUMENTS/Songlengths.md5");
}

TEST_F(HvscTest, ClassicDatabaseKeepsItsLengthForTunesItKnows)
{
    const bytes known = tunefile(3);
    const bytes unknown = tunefile(4);
    bytes data;
    sidtest::place(data, 0x00, {0x60, 3});
    sidtest::place(data, 0x10, {0x60});
    const auto digest = sid::tunedigest(data.data(), data.size(), 0x1000, 0x1010, 1, 0);
    sid::songdb = {18, 0};
    sid::songdb.insert(sid::songdb.end(), digest.begin(), digest.end());
    sid::songdb.insert(sid::songdb.end(), {37, 0});
    sid::songdbsize = static_cast<uint32_t>(sid::songdb.size());
    sid::songdbloaded = true;
    writefile(dir.path() / "DOCUMENTS/Songlengths.md5",
              filemd5(known) + "=1:00.250\n" + filemd5(unknown) + "=0:03.001\n");

    ASSERT_TRUE(sid::sidload(puttune("known.sid", known)));
    EXPECT_TRUE(sid::songfound);
    EXPECT_FALSE(sid::hvscdb.found);
    EXPECT_EQ(shell::songframes.load(), 37u * 44100);

    ASSERT_TRUE(sid::sidload(puttune("unknown.sid", unknown)));
    EXPECT_FALSE(sid::songfound);
    EXPECT_TRUE(sid::hvscdb.found);
    EXPECT_EQ(shell::songframes.load(), 3001u * 44100 / 1000);
}

TEST_F(HvscTest, StartFolderOrItsDocumentsSubfolder)
{
    const fs::path start = dir.path() / "start";
    fs::create_directories(start);
    fs::current_path(start);
    sid::hvscstartup();
    EXPECT_FALSE(sid::hvscdb.loaded) << "no list, no error";

    const std::string entry = lowerhex(fakedigest(1)) + "=0:01\n";
    writefile(start / "DOCUMENTS/Songlengths.md5", entry);
    sid::hvscstartup();
    ASSERT_TRUE(sid::hvscdb.loaded);
    EXPECT_EQ(sid::hvscdb.file, fs::path("DOCUMENTS") / "Songlengths.md5");
    EXPECT_TRUE(sid::hvscfind(fakedigest(1)));

    sid::hvscreset();
    writefile(start / "Songlengths.md5", lowerhex(fakedigest(2)) + "=0:02\n");
    sid::hvscstartup();
    EXPECT_EQ(sid::hvscdb.file, fs::path("Songlengths.md5")) << "the start folder's own file comes first";
    EXPECT_TRUE(sid::hvscfind(fakedigest(2)));
    EXPECT_FALSE(sid::hvscfind(fakedigest(1)));
}

TEST(HvscParse, MalformedLinesAreSkippedOneByOne)
{
    sid::hvscreset();
    std::string longline = lowerhex(fakedigest(40)) + "=";
    for (int i = 1; i <= 300; ++i) longline += "0:" + std::string(i % 60 < 10 ? "0" : "") + std::to_string(i % 60) + " ";
    std::string upper = lowerhex(fakedigest(11));
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto d = [](uint8_t n) { return lowerhex(fakedigest(n)); };

    sid::hvscparse("[Database]\n"
                   "; /MUSICIANS/A/Someone/Tune.sid\n" +
                   d(1) + "=0:01\n" +
                   d(2) + "=0:6\n" +           // one digit of seconds
                   d(3) + "=1:60\n" +          // seconds past 59
                   d(4).substr(1) + "=0:01\n" +  // 31 digits
                   d(5) + "0:01\n" +           // no "="
                   d(6) + "=1:02.5x\n" +
                   d(7) + "=\n" +              // no lengths
                   d(8) + "=(G) 0:01\n" +      // an attribute before any length
                   d(9) + "=0:01(G\n" +        // attribute never closed
                   d(10) + "=10000:00\n" +     // five digits of minutes
                   "g" + d(12).substr(1) + "=0:01\n" +
                   d(13) + "=0:01.1234\n" +    // four digits of fraction
                   upper + "=9999:59.999 (M) 0:00.5\r\n" +
                   "  " + d(12) + " = 0:02  0:03(G)\t\n" +
                   d(1) + "=0:09\n" +          // a second entry: the first wins
                   longline + "\n" +
                   d(14) + "=0:04");           // no final newline

    EXPECT_EQ(sid::hvscdb.skipped, 11u);
    for (uint8_t bad : {2, 3, 4, 5, 6, 7, 8, 9, 10, 13})
        EXPECT_FALSE(sid::hvscfind(fakedigest(bad))) << int(bad);

    ASSERT_TRUE(sid::hvscfind(fakedigest(1)));
    EXPECT_EQ(listedms(0), 1000);
    EXPECT_EQ(listedms(1), -1) << "past the listed subsongs";
    ASSERT_TRUE(sid::hvscfind(fakedigest(11)));
    EXPECT_EQ(listedms(0), 599999999);
    EXPECT_EQ(listedms(1), 500);
    ASSERT_TRUE(sid::hvscfind(fakedigest(12)));
    EXPECT_EQ(listedms(0), 2000);
    EXPECT_EQ(listedms(1), 3000);
    ASSERT_TRUE(sid::hvscfind(fakedigest(14)));
    EXPECT_EQ(listedms(0), 4000);
    ASSERT_TRUE(sid::hvscfind(fakedigest(40)));
    EXPECT_EQ(listedms(255), 16000) << "the 256th length is kept";
    EXPECT_EQ(listedms(256), -1) << "and the rest dropped";
    sid::hvscreset();
}

}  // namespace
