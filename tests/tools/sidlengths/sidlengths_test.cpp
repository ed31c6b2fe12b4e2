// The song-length tool: reading a PSID as the player does (including the
// load address kept in the data), the stated lengths, their format, and
// the database line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "players/sid/songdb.h"
#include "sidlengths.h"

namespace {

using sidlengths::readtune;

std::vector<uint8_t> header(uint16_t version, uint16_t load, uint16_t init, uint16_t play,
                            uint16_t songs, uint32_t speed, uint16_t offset = 0x7C) {
    std::vector<uint8_t> f(offset, 0);
    f[0] = 'P';
    f[1] = 'S';
    f[2] = 'I';
    f[3] = 'D';
    auto put = [&](size_t at, uint16_t v) {
        f[at] = static_cast<uint8_t>(v >> 8);
        f[at + 1] = static_cast<uint8_t>(v);
    };
    put(4, version);
    put(6, offset);
    put(8, load);
    put(10, init);
    put(12, play);
    put(14, songs);
    put(16, 1);
    put(18, static_cast<uint16_t>(speed >> 16));
    put(20, static_cast<uint16_t>(speed));
    return f;
}

TEST(SidLengthsTool, DigestOfATuneWithHeaderLoadAddress) {
    auto f = header(2, 0x1000, 0, 0x1003, 2, 0x2);
    std::vector<uint8_t> data = {0x4C, 0x06, 0x10, 0x4C, 0x07, 0x10, 0x60, 0x60};
    f.insert(f.end(), data.begin(), data.end());
    auto t = readtune(f);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->songs, 2);
    // init 0 becomes the load address
    EXPECT_EQ(t->digest, sid::tunedigest(data.data(), data.size(), 0x1000, 0x1003, 2, 0x2));
}

TEST(SidLengthsTool, LoadAddressInTheDataIsNotPartOfTheDigest) {
    auto f = header(2, 0, 0x2000, 0, 1, 1);
    std::vector<uint8_t> data = {0x60, 0x00, 0x11};
    f.push_back(0x00);
    f.push_back(0x20);
    f.insert(f.end(), data.begin(), data.end());
    auto t = readtune(f);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->digest, sid::tunedigest(data.data(), data.size(), 0x2000, 0, 1, 1));
    // and an init of 0 takes the address from the data too
    auto g = header(2, 0, 0, 0, 1, 1);
    g.push_back(0x00);
    g.push_back(0x20);
    g.insert(g.end(), data.begin(), data.end());
    EXPECT_EQ(readtune(g)->digest, t->digest);
}

TEST(SidLengthsTool, RefusesWhatThePlayerRefuses) {
    auto good = header(1, 0x1000, 0, 0x1003, 1, 0);
    good.push_back(0x60);
    EXPECT_TRUE(readtune(good));
    auto lower = good;
    lower[0] = 'p';
    EXPECT_FALSE(readtune(lower));
    for (uint16_t version : {0, 4}) {
        auto f = header(version, 0x1000, 0, 0x1003, 1, 0);
        f.push_back(0x60);
        EXPECT_FALSE(readtune(f)) << version;
    }
    EXPECT_TRUE(readtune(header(3, 0x1000, 0, 0x1003, 1, 0)));
}

TEST(SidLengthsTool, ShortFilesNeverReadPastTheEnd) {
    auto f = header(2, 0x1000, 0, 0x1003, 1, 0);
    for (size_t n : {0u, 3u, 50u, 117u}) {
        std::vector<uint8_t> cut(f.begin(), f.begin() + static_cast<long>(n));
        EXPECT_FALSE(readtune(cut)) << n;
    }
    // data offset beyond the file
    auto far = header(2, 0x1000, 0, 0x1003, 1, 0, 0x7C);
    far[6] = 0x10;
    EXPECT_FALSE(readtune(far));
    // load address 0 with fewer than two data bytes
    auto noload = header(2, 0, 0, 0x1003, 1, 0);
    noload.push_back(0x00);
    EXPECT_FALSE(readtune(noload));
}

TEST(SidLengthsTool, DataBeyondTheTopOfMemoryIsCut) {
    auto f = header(2, 0xFFFE, 0, 0xFFFE, 1, 0);
    std::vector<uint8_t> data = {1, 2, 3, 4};
    f.insert(f.end(), data.begin(), data.end());
    auto t = readtune(f);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->digest, sid::tunedigest(data.data(), 2, 0xFFFE, 0xFFFE, 1, 0));
}

TEST(SidLengthsTool, StatedLengths) {
    EXPECT_EQ(sidlengths::statedlengths("; a tune\n; lengths: 0:43 1:05  12:00\ncode\n"),
              (std::vector<std::string>{"0:43", "1:05", "12:00"}));
    EXPECT_TRUE(sidlengths::statedlengths("; no lengths here\n").empty());
    // only a line that starts with the tag counts
    EXPECT_TRUE(sidlengths::statedlengths("  ; lengths: 0:10\n").empty());
}

TEST(SidLengthsTool, LengthFormat) {
    for (const char* ok : {"0:00", "0:59", "9:30", "10:05", "123:45"})
        EXPECT_TRUE(sidlengths::validlength(ok)) << ok;
    for (const char* bad : {"", ":30", "1:5", "1:60", "1:055", "1.30", "a:30", "1:3x", "0:43(G)"})
        EXPECT_FALSE(sidlengths::validlength(bad)) << bad;
}

TEST(SidLengthsTool, DatabaseLine) {
    std::array<uint8_t, 16> d{};
    for (int i = 0; i < 16; ++i)
        d[i] = static_cast<uint8_t>(i * 17);
    EXPECT_EQ(sidlengths::databaseline(d, {"0:43", "1:05"}),
              "00112233445566778899aabbccddeeff=0:43 1:05");
    EXPECT_EQ(sidlengths::databaseline(d, {"0:01"}).size(), 32u + 1 + 4);
}

}  // namespace
