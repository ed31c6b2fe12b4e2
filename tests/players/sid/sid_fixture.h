// Shared set-up for the SID player tests: a clean player, SID model and
// playback state, PSID files built byte by byte in a temporary directory,
// and the messages the player shows, captured instead of drawn.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/playback.h"
#include "portable.h"
#include "players/sid/cpu.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "players/sid/songdb.h"
#include "screen/console.h"
#include "synth/pd/record.h"

namespace sidtest {

using bytes = std::vector<uint8_t>;

struct psidheader {
    std::string magic = "PSID";
    uint16_t version = 2;
    uint16_t dataoffset = 0x7C;
    uint16_t loadaddr = 0x1000;
    uint16_t initaddr = 0x1000;
    uint16_t playaddr = 0x1010;
    uint16_t songs = 1;
    uint16_t startsong = 1;
    uint32_t speed = 0;
    std::string name = "Test Tune";
    std::string author = "Nobody";
    std::string copyright = "2024 Tests";
    // Version 2 and later, with a data offset of 0x7C or more.
    uint16_t flags = 0;
    uint8_t sid2 = 0, sid3 = 0;
};

inline void putbig(bytes& b, size_t at, uint32_t v, int n)
{
    for (int i = 0; i < n; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * (n - 1 - i)));
}

// A PSID file: the header, zero padding up to the data offset, the data.
inline bytes makepsid(const psidheader& h, const bytes& data)
{
    bytes b(std::max<size_t>(h.dataoffset, 118), 0);
    for (size_t i = 0; i < 4 && i < h.magic.size(); ++i) b[i] = static_cast<uint8_t>(h.magic[i]);
    putbig(b, 4, h.version, 2);
    putbig(b, 6, h.dataoffset, 2);
    putbig(b, 8, h.loadaddr, 2);
    putbig(b, 10, h.initaddr, 2);
    putbig(b, 12, h.playaddr, 2);
    putbig(b, 14, h.songs, 2);
    putbig(b, 16, h.startsong, 2);
    putbig(b, 18, h.speed, 4);
    const std::string* texts[] = {&h.name, &h.author, &h.copyright};
    for (int t = 0; t < 3; ++t)
        for (size_t i = 0; i < 32 && i < texts[t]->size(); ++i) b[22 + 32 * t + i] = static_cast<uint8_t>((*texts[t])[i]);
    b.resize(h.dataoffset);
    if (h.dataoffset >= 0x7C) {
        putbig(b, 0x76, h.flags, 2);
        b[0x7A] = h.sid2;
        b[0x7B] = h.sid3;
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// Code placed at offset within a data block that starts at the load address.
inline void place(bytes& data, size_t offset, std::initializer_list<int> code)
{
    // Grown by appending rather than resize(): GCC 12 at -O2 takes the
    // inlined resize of a freshly built small vector for an out-of-bounds copy.
    while (data.size() < offset + code.size()) data.push_back(0);
    for (int c : code) data[offset++] = static_cast<uint8_t>(c);
}

class tempdir {
public:
    tempdir()
    {
        path_ = portable::makescratchdir("tarplay_sid_");
    }
    ~tempdir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    tempdir(const tempdir&) = delete;
    tempdir& operator=(const tempdir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

    std::string write(const std::string& name, const bytes& content) const
    {
        std::ofstream out(file(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
        return file(name);
    }
    std::string write(const std::string& name, std::string_view content) const
    {
        return write(name, bytes(content.begin(), content.end()));
    }

private:
    std::filesystem::path path_;
};

inline bytes readfile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct shownmessage {
    std::string text;
    uint8_t attr;
    bool wait;
};

// Everything back to the state of a fresh start with the player's hook in
// place; messages are collected in shown.
class SidTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const bool tablesbuilt = [] {
            synth::samplerate = 44100;
            synth::synthinit();
            return true;
        }();
        (void)tablesbuilt;
        for (auto& v : synth::voices) {
            v.hz = 0;
            v.notefrac = 0;
            v.octave = 0;
            v.step = 0;
            v.control = 0;
            v.pulse = 0;
            v.filter = 0;
            v.level = 0;
            v.lastout = 0;
            v.muted = 0;
        }
        cpu::cpusetup();
        cpu::memwritehook = sid::buswrite;
        cpu::cpumem.fill(0);
        cpu::cpucycles = 0;
        sid::sidtables();
        sid::songdbreset();
        sid::psidreset();
        sid::sidreset();
        core::settickrate(50);
        core::cursong = 0;
        core::tickpos = 0;
        core::playedframes = 0;
        core::songframes = 0;
        core::quitplay = false;
        core::recording = false;
        std::string stale;
        while (core::takemessage(stale)) {}
        shown.clear();
        screen::messagesink = [this](std::string_view msg, uint8_t attr, bool wait) {
            shown.push_back({std::string(msg), attr, wait});
        };
    }

    void TearDown() override { screen::messagesink = nullptr; }

    // Writes the tune to a file and loads it as the shell would.
    bool load(const psidheader& h, const bytes& data, const std::string& name = "tune.sid")
    {
        return sid::sidload(dir.write(name, makepsid(h, data)));
    }

    tempdir dir;
    std::vector<shownmessage> shown;
};

}  // namespace sidtest
