#include "common/hex.h"
#include "sid_fixture.h"

#include "boundedrun.h"
#include "fifoguard.h"

#include <cctype>
#include <optional>

#include "players/sid/md5.h"

namespace {

using sidtest::bytes;
using sidtest::SidTest;

std::string hex(const std::array<uint8_t, 16>& d)
{
    std::string s;
    for (uint8_t b : d) s += hexbyte(b);
    return s;
}

std::string md5hex(std::string_view s)
{
    return hex(sid::md5digest(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
}

TEST(Md5, Rfc1321TestSuite)
{
    EXPECT_EQ(md5hex(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(md5hex("a"), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(md5hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(md5hex("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(md5hex("abcdefghijklmnopqrstuvwxyz"), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(md5hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(md5hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(TuneDigest, HashesDataAddressesSongsAndSpeedBytes)
{
    const uint8_t data[] = {0xA9, 0x01, 0x60};
    const bytes expected = {0xA9, 0x01, 0x60, 0x00, 0x10, 0x03, 0x10, 0x03, 0x00, 60, 0, 60};
    EXPECT_EQ(sid::tunedigest(data, 3, 0x1000, 0x1003, 3, 0b101), sid::md5digest(expected.data(), expected.size()));

    // Songs past 32 always count as video-timed.
    bytes many = {0x00, 0x10, 0x00, 0x00, 40, 0};
    for (int i = 0; i < 40; ++i) many.push_back(i < 32 ? 60 : 0);
    EXPECT_EQ(sid::tunedigest(nullptr, 0, 0x1000, 0, 40, 0xFFFFFFFFu), sid::md5digest(many.data(), many.size()));
    EXPECT_NE(sid::tunedigest(data, 3, 0x1000, 0x1003, 3, 0b100), sid::tunedigest(data, 3, 0x1000, 0x1003, 3, 0b101));
}

TEST(HexDigit, DigitsAndBothLetterCases)
{
    const std::string digits = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(sid::hexdigit(digits[i]), i);
        EXPECT_EQ(sid::hexdigit(static_cast<char>(std::toupper(digits[i]))), i);
    }
}

class SongDbTest : public SidTest {
protected:
    // Converts text and returns the binary file, or nothing when no file was
    // written.
    std::optional<bytes> convert(std::string_view text)
    {
        const std::string txt = dir.write("Songlengths.txt", text);
        const std::string db = dir.file("Songlengths.db");
        std::filesystem::remove(db);
        sid::convertsongdb(txt, db);
        if (!std::filesystem::exists(db)) return std::nullopt;
        return sidtest::readfile(db);
    }

    void usedb(const bytes& db)
    {
        sid::songdb = db;
        sid::songdbsize = static_cast<uint32_t>(db.size());
        sid::songdbloaded = true;
    }

    const std::string digest = "0123456789abcdef0123456789abcdef";
    const bytes digestbytes = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF,
                               0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
};

bytes record(const bytes& digest, std::initializer_list<uint16_t> lengths)
{
    // Byte by byte: GCC 12 at -O2 takes a range insert into this small
    // vector for an out-of-bounds copy.
    bytes r = {static_cast<uint8_t>(16 + 2 * lengths.size()), 0};
    for (uint8_t b : digest) r.push_back(b);
    for (uint16_t l : lengths) {
        r.push_back(static_cast<uint8_t>(l & 0xFF));
        r.push_back(static_cast<uint8_t>(l >> 8));
    }
    return r;
}

std::array<uint8_t, 16> asdigest(const bytes& b)
{
    std::array<uint8_t, 16> d{};
    std::copy(b.begin(), b.end(), d.begin());
    return d;
}

TEST_F(SongDbTest, ConvertsTheExampleLineByteForByte)
{
    const auto db = convert("[Database]\n; a comment line that is long enough to be parsed otherwise\n" + digest +
                            "=0:37 1:02(G) 0:15\n");
    ASSERT_TRUE(db);
    bytes expected = {0x16, 0x00};
    expected.insert(expected.end(), digestbytes.begin(), digestbytes.end());
    expected.insert(expected.end(), {37, 0, 62, 0, 15, 0});
    EXPECT_EQ(*db, expected);
}

TEST_F(SongDbTest, UpperCaseDigestsAndCrLfLines)
{
    std::string upper = digest;
    for (char& c : upper) c = static_cast<char>(std::toupper(c));
    const auto db = convert(upper + "=1:00\r\n" + digest + "=0:01(M)(S)\r\n");
    ASSERT_TRUE(db);
    bytes expected = record(digestbytes, {60});
    const bytes second = record(digestbytes, {1});
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(*db, expected);
}

TEST_F(SongDbTest, DigestWithSeparatorOnlyGivesAnEmptyRecord)
{
    const auto db = convert(digest + "=\n");
    ASSERT_TRUE(db);
    bytes expected = {0x10, 0x00};
    expected.insert(expected.end(), digestbytes.begin(), digestbytes.end());
    EXPECT_EQ(*db, expected);
}

TEST_F(SongDbTest, ShortLinesAreSkipped)
{
    const auto db = convert(digest + "\n" + "short\n\n");
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->empty());
}

TEST_F(SongDbTest, MalformedEntriesAbandonTheConversion)
{
    EXPECT_FALSE(convert(digest + "=0:37.5\n"));
    EXPECT_FALSE(convert(digest + "=0:37.5 1:00\n"));
    EXPECT_FALSE(convert(digest + "=0:37 x:00\n"));
    EXPECT_FALSE(convert(digest + "=1:2x\n"));
    EXPECT_FALSE(convert(digest + "=1:\n"));
    EXPECT_FALSE(convert(digest + "=0:10\n" + digest + "=abc\n")) << "one bad line spoils the whole file";
}

TEST_F(SongDbTest, MinutesAreTakenModulo256)
{
    const auto db = convert(digest + "=300:00 255:59\n");
    ASSERT_TRUE(db);
    EXPECT_EQ(*db, record(digestbytes, {44 * 60, 255 * 60 + 59}));
}

TEST_F(SongDbTest, LinesWithMoreThan256EntriesAreCut)
{
    std::string line = digest + "=";
    for (int i = 0; i < 300; ++i) line += "0:" + std::string(i % 60 < 10 ? "0" : "") + std::to_string(i % 60) + " ";
    line.pop_back();
    const auto db = convert(line + "\n");
    ASSERT_TRUE(db);
    ASSERT_EQ(db->size(), 2u + 16 + 512);
    EXPECT_EQ((*db)[0] + 256 * (*db)[1], 16 + 512);
    EXPECT_EQ((*db)[18 + 2 * 255], 255 % 60);
}

TEST_F(SongDbTest, AVeryLongLineConvertsInOnePass)
{
    // 2 MB in one line, half of its entries marked: a conversion that works
    // from the front of the line again for every entry takes minutes.
    std::string line = digest + "=";
    for (int i = 0; i < 300000; ++i) line += i % 2 ? "1:02(G) " : "0:37 ";
    line += "0:01";
    EXPECT_TRUE(finisheswithin(
        [&] {
            const auto db = convert(line + "\n");
            return db && db->size() == 2u + 16 + 512 && (*db)[18] == 37 && (*db)[20] == 62 &&
                   (*db)[18 + 2 * 255] == 62;
        },
        std::chrono::seconds(30)));
}

TEST_F(SongDbTest, LookupTakesTheFirstMatchingRecord)
{
    const bytes other(16, 0x77);
    bytes db = record(other, {1, 2});
    for (const bytes& r : {record(digestbytes, {37, 62, 15}), record(digestbytes, {99})})
        db.insert(db.end(), r.begin(), r.end());
    usedb(db);
    EXPECT_TRUE(sid::findsonglengths(asdigest(digestbytes)));
    EXPECT_EQ(sid::songlengths[0], 37);
    EXPECT_EQ(sid::songlengths[1], 62);
    EXPECT_EQ(sid::songlengths[2], 15);
    EXPECT_TRUE(sid::findsonglengths(asdigest(other)));
    EXPECT_EQ(sid::songlengths[0], 1);
    EXPECT_EQ(sid::songlengths[2], 15) << "entries past the record keep their values";
    EXPECT_FALSE(sid::findsonglengths(asdigest(bytes(16, 0x55))));
    EXPECT_EQ(sid::songlengths[0], 1);
}

TEST_F(SongDbTest, LookupNeverReadsPastTheData)
{
    // A record whose length points past the end: only what is there is copied.
    bytes db = record(digestbytes, {10, 20});
    db[0] = 200;
    usedb(db);
    EXPECT_TRUE(sid::findsonglengths(asdigest(digestbytes)));
    EXPECT_EQ(sid::songlengths[0], 10);
    EXPECT_EQ(sid::songlengths[1], 20);

    // Data that ends inside a digest.
    db = record(bytes(16, 0x11), {});
    db.insert(db.end(), {0x10, 0x00, 0x01, 0x23, 0x45});
    usedb(db);
    EXPECT_FALSE(sid::findsonglengths(asdigest(digestbytes)));

    // A length below the digest's size is still followed: a record of
    // length 0 is two bytes long, and the record after it is found.
    const bytes r = record(digestbytes, {5});
    db = {0x00, 0x00};
    db.insert(db.end(), r.begin(), r.end());
    usedb(db);
    sid::songlengths[0] = 0;
    EXPECT_TRUE(sid::findsonglengths(asdigest(digestbytes)));
    EXPECT_EQ(sid::songlengths[0], 5);

    // A length of 3 lands inside the digest; the bytes found there make the
    // next length, which points past the data.
    db = record(bytes(16, 0x11), {});
    db[0] = 3;
    db.insert(db.end(), r.begin(), r.end());
    usedb(db);
    EXPECT_FALSE(sid::findsonglengths(asdigest(digestbytes)));

    // More lengths than a tune can have subsongs.
    db = {static_cast<uint8_t>((16 + 600) & 0xFF), static_cast<uint8_t>((16 + 600) >> 8)};
    db.insert(db.end(), digestbytes.begin(), digestbytes.end());
    for (int i = 0; i < 300; ++i) db.insert(db.end(), {static_cast<uint8_t>(i), 0});
    usedb(db);
    EXPECT_TRUE(sid::findsonglengths(asdigest(digestbytes)));
    EXPECT_EQ(sid::songlengths[255], 255);

    sid::songdbreset();
    EXPECT_FALSE(sid::findsonglengths(asdigest(digestbytes)));
}

// Start-up looks in the working directory.
class SongDbStartupTest : public SongDbTest {
protected:
    void SetUp() override
    {
        SongDbTest::SetUp();
        olddir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override
    {
        std::filesystem::current_path(olddir);
        SongDbTest::TearDown();
    }
    std::filesystem::path olddir;
};

TEST_F(SongDbStartupTest, NoFilesLeaveTheDatabaseEmpty)
{
    sid::songdbstartup();
    EXPECT_FALSE(sid::songdbloaded);
    EXPECT_EQ(sid::songdbsize, 0u);
    EXPECT_FALSE(std::filesystem::exists("Songlengths.db"));
}

TEST_F(SongDbStartupTest, TextFileIsConvertedOnceAndLoaded)
{
    dir.write("Songlengths.txt", digest + "=0:37 1:02(G) 0:15\n");
    sid::songdbstartup();
    ASSERT_TRUE(sid::songdbloaded);
    EXPECT_EQ(sid::songdbsize, 24u);
    EXPECT_EQ(sidtest::readfile("Songlengths.db").size(), 24u);
    EXPECT_TRUE(sid::findsonglengths(asdigest(digestbytes)));
    EXPECT_EQ(sid::songlengths[1], 62);
    sid::freesongdb();
    EXPECT_FALSE(sid::songdbloaded);
    EXPECT_EQ(sid::songdbsize, 0u);
    EXPECT_FALSE(sid::findsonglengths(asdigest(digestbytes)));
}

TEST_F(SongDbStartupTest, ExistingBinaryFileWinsOverTheText)
{
    const bytes db = record(digestbytes, {99});
    dir.write("Songlengths.db", db);
    dir.write("Songlengths.txt", digest + "=0:37.5\n");
    sid::songdbstartup();
    ASSERT_TRUE(sid::songdbloaded);
    EXPECT_EQ(sid::songdb, db);
    EXPECT_EQ(sidtest::readfile("Songlengths.db"), db);
}

TEST_F(SongDbStartupTest, MalformedTextWritesNothing)
{
    dir.write("Songlengths.txt", digest + "=0:37.5\n");
    sid::songdbstartup();
    EXPECT_FALSE(sid::songdbloaded);
    EXPECT_FALSE(std::filesystem::exists("Songlengths.db"));
}

TEST_F(SongDbStartupTest, UnwritableDatabaseIsIgnored)
{
    // A directory in the database's place can be neither opened nor created.
    std::filesystem::create_directory("Songlengths.db");
    dir.write("Songlengths.txt", digest + "=0:37\n");
    sid::songdbstartup();
    EXPECT_FALSE(sid::songdbloaded);
    EXPECT_TRUE(std::filesystem::is_directory("Songlengths.db"));
}

}  // namespace

TEST_F(SongDbStartupTest, DatabasesThatAreNotRegularFilesCountAsMissing)
{
    // Both names taken by FIFOs: nothing is read, and nothing waits.
    EXPECT_FALSE(hungonfifos({"Songlengths.db", "Songlengths.txt"}, [] { sid::songdbstartup(); }));
    EXPECT_FALSE(sid::songdbloaded);

    // A text file beside a FIFO database: converted, but never written into
    // the FIFO.
    std::filesystem::remove("Songlengths.db");
    std::filesystem::remove("Songlengths.txt");
    dir.write("Songlengths.txt", digest + "=0:37\n");
    EXPECT_FALSE(hungonfifos({"Songlengths.db"}, [] { sid::songdbstartup(); }));
    EXPECT_FALSE(sid::songdbloaded);
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_fifo("Songlengths.db"));
#endif
}
