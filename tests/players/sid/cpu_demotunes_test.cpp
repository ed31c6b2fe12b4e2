// The demo tunes, run on the processor behind a bus that behaves like the
// player's (the SID's page never reaches memory, address 0 is never
// written): headers, init and play within their budgets, the stated
// lengths against the sequencer's own loop counter, and the chip features
// each tune is meant to use.
#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "players/sid/cpu_fixture.h"
#include "players/sid/songdb.h"

namespace {

using namespace cpu;

struct sidevents {
    std::array<uint8_t, 32> regs{};
    std::array<int, 3> gateons{};
    std::array<std::set<int>, 3> waveforms;  // control high nibbles
    std::array<std::set<int>, 3> pulses;     // 12-bit widths
    std::set<int> controlbits;               // every control value written
    std::set<int> routing;                   // $D417 values
    std::set<int> cutoffs;                   // $D416 values
    std::set<int> modes;                     // $D418 values
    int adsrwrites = 0;
    uint16_t cialatch = 0;
    bool wrotezero = false;
};

sidevents bus;

void demobus(uint16_t address, uint8_t value) {
    if (address >> 8 == 0xD4) {
        int r = address & 0x1F;
        if (r < 0x15) {
            int v = r / 7;
            switch (r % 7) {
            case 4:
                if ((value & 1) && !(bus.regs[r] & 1))
                    bus.gateons[v]++;
                bus.waveforms[v].insert(value >> 4);
                bus.controlbits.insert(value);
                break;
            case 2:
            case 3:
                bus.regs[r] = value;
                bus.pulses[v].insert((bus.regs[7 * v + 3] & 0x0F) * 256 + bus.regs[7 * v + 2]);
                break;
            case 5:
            case 6:
                bus.adsrwrites++;
                break;
            }
        } else if (r == 0x16) {
            bus.cutoffs.insert(value);
        } else if (r == 0x17) {
            bus.routing.insert(value);
        } else if (r == 0x18) {
            bus.modes.insert(value);
        }
        bus.regs[r] = value;
        return;
    }
    if (address == 0) {
        bus.wrotezero = true;
        return;
    }
    cpumem[address] = value;
    if (address == 0xDC04)
        bus.cialatch = static_cast<uint16_t>((bus.cialatch & 0xFF00) | value);
    if (address == 0xDC05)
        bus.cialatch = static_cast<uint16_t>((bus.cialatch & 0x00FF) | value << 8);
}

std::string builddir() { return cputest::builddir(); }

std::string sourcedir() {
    const char* s = std::getenv("TARPLAY_SOURCE");
#ifdef TARPLAY_SOURCE_DIR
    return s ? s : TARPLAY_SOURCE_DIR;
#else
    return s ? s : "..";
#endif
}

std::vector<uint8_t> readbytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string readtext(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint16_t be16(const std::vector<uint8_t>& f, size_t at) { return static_cast<uint16_t>(f[at] << 8 | f[at + 1]); }

// acme's symbol list: "\tname\t= $1234\t; ?" per line.
std::map<std::string, int> readlabels(const std::string& name) {
    std::map<std::string, int> out;
    std::istringstream in(readtext(builddir() + "/demo/labels/" + name + ".lbl"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string label, eq, value;
        if (words >> label >> eq >> value && eq == "=" && !value.empty() && value[0] == '$')
            out[label] = std::stoi(value.substr(1), nullptr, 16);
    }
    return out;
}

struct tune {
    std::string name;
    std::vector<uint8_t> file;
    uint16_t load = 0, init = 0, play = 0, songs = 0;
    uint32_t speed = 0;
    size_t dataat = 0;
};

tune loadtune(const std::string& name) {
    tune t;
    t.name = name;
    t.file = readbytes(builddir() + "/demo/" + name + ".sid");
    if (t.file.size() < 0x7C)
        return t;
    t.dataat = be16(t.file, 6);
    t.load = be16(t.file, 8);
    t.init = be16(t.file, 10);
    t.play = be16(t.file, 12);
    t.songs = be16(t.file, 14);
    t.speed = static_cast<uint32_t>(be16(t.file, 18)) << 16 | be16(t.file, 20);
    if (t.load == 0) {
        t.load = static_cast<uint16_t>(t.file[t.dataat] | t.file[t.dataat + 1] << 8);
        t.dataat += 2;
    }
    if (t.init == 0)
        t.init = t.load;
    return t;
}

std::vector<std::string> statedlengths(const std::string& name) {
    std::istringstream in(readtext(sourcedir() + "/demo/source/" + name + ".a"));
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("; lengths:", 0) == 0) {
            std::istringstream words(line.substr(10));
            std::vector<std::string> out;
            std::string w;
            while (words >> w)
                out.push_back(w);
            return out;
        }
    return {};
}

int seconds(const std::string& mss) {
    auto colon = mss.find(':');
    return std::stoi(mss.substr(0, colon)) * 60 + std::stoi(mss.substr(colon + 1));
}

class DemoTunes : public ::testing::Test {
protected:
    void SetUp() override {
        cpusetup();
        memwritehook = demobus;
        bus = sidevents{};
    }
    void TearDown() override { memwritehook = nullptr; }

    // Loads the image, runs init for song, and then play calls until the
    // sequencer's pass counter moves or limit calls have run. Returns the
    // number of play calls before the counter moved (-1 if it never did).
    int playthrough(const tune& t, int song, int limit, int& maxinstructions, uint16_t& play) {
        cpumem.fill(0);
        for (size_t i = t.dataat; i < t.file.size(); ++i)
            cpumem[t.load + i - t.dataat] = t.file[i];
        auto labels = readlabels(t.name);
        EXPECT_TRUE(labels.count("passes")) << t.name;
        int passes = labels["passes"];
        EXPECT_TRUE(cpucall(t.init, static_cast<uint8_t>(song), 0x100000)) << t.name << " init";
        EXPECT_EQ(cpumem[0x0001], 0) << t.name;
        play = t.play ? t.play : static_cast<uint16_t>(cpumem[0x0314] | cpumem[0x0315] << 8);
        maxinstructions = 0;
        for (int call = 0; call < limit; ++call) {
            bool ok = cpucall(play, 0, 0x8000);
            if (!ok) {
                ADD_FAILURE() << t.name << " song " << song << ": play failed at call " << call;
                return -1;
            }
            maxinstructions = std::max(maxinstructions, 0x8000 - cpubudget);
            if (cpumem[0x0001] != 0) {
                ADD_FAILURE() << t.name << ": $0001 changed";
                return -1;
            }
            if (cpumem[passes] != 0)
                return call;
        }
        return -1;
    }
};

const char* const tunenames[] = {"harbour", "neondrive", "waltz"};

TEST_F(DemoTunes, HeadersAreCompletePsidVersionTwo) {
    for (const char* name : tunenames) {
        tune t = loadtune(name);
        ASSERT_GE(t.file.size(), 0x7Cu + 16) << name;
        EXPECT_EQ(std::string(t.file.begin(), t.file.begin() + 4), "PSID") << name;
        EXPECT_EQ(be16(t.file, 4), 2) << name;
        EXPECT_EQ(be16(t.file, 6), 0x7C) << name;
        EXPECT_GE(t.songs, 1) << name;
        EXPECT_EQ(be16(t.file, 16), 1) << name;
        std::string author(reinterpret_cast<const char*>(&t.file[54]), 32);
        EXPECT_EQ(author.substr(0, author.find('\0')), "tarplay demo") << name;
        std::string title(reinterpret_cast<const char*>(&t.file[22]), 32);
        EXPECT_FALSE(title.substr(0, title.find('\0')).empty()) << name;
        // Every text field is NUL-padded to its 32 bytes.
        for (int field : {22, 54, 86})
            EXPECT_EQ(t.file[field + 31], 0) << name << " field " << field;
        EXPECT_EQ(statedlengths(name).size(), t.songs) << name;
    }
}

TEST_F(DemoTunes, EachTimingKindIsCovered) {
    tune harbour = loadtune("harbour");
    EXPECT_EQ(harbour.songs, 3);
    EXPECT_EQ(harbour.speed & 7, 0u);  // all three on the video interrupt
    EXPECT_NE(harbour.play, 0);

    tune neon = loadtune("neondrive");
    EXPECT_EQ(neon.speed & 1, 1u);
    EXPECT_EQ(be16(neon.file, 8), 0);  // load address in the data
    int maxi;
    uint16_t play;
    playthrough(neon, 0, 1, maxi, play);
    EXPECT_NE(bus.cialatch, 0);
    int rate = static_cast<int>(985248.4444 / bus.cialatch);
    EXPECT_NE(rate, 50);
    EXPECT_NE(rate, 60);
    EXPECT_LT(rate, 1000);

    tune waltz = loadtune("waltz");
    EXPECT_EQ(waltz.play, 0);
    bus = sidevents{};
    playthrough(waltz, 0, 1, maxi, play);
    EXPECT_EQ(play, readlabels("waltz")["seqplay"]);
    EXPECT_GE(play, waltz.load);
}

TEST_F(DemoTunes, PlayToTheStatedLengthAndUseEveryVoice) {
    for (const char* name : tunenames) {
        tune t = loadtune(name);
        auto lengths = statedlengths(name);
        ASSERT_EQ(lengths.size(), t.songs) << name;
        for (int song = 0; song < t.songs; ++song) {
            bus = sidevents{};
            int maxi = 0;
            uint16_t play = 0;
            int limit = 10 * 60 * 100;
            int calls = playthrough(t, song, limit, maxi, play);
            ASSERT_GT(calls, 0) << name << " song " << song << " never loops";
            int rate = (t.speed >> song & 1) ? static_cast<int>(985248.4444 / bus.cialatch) : 50;
            double length = static_cast<double>(calls) / rate;
            int stated = seconds(lengths[song]);
            // Whole seconds, rounded up so that the last note is not cut.
            EXPECT_GE(stated, length) << name << " song " << song;
            EXPECT_LT(stated, length + 1) << name << " song " << song;
            EXPECT_GE(length, 30) << name << " song " << song;
            EXPECT_LT(maxi, 4000) << name << " song " << song;
            EXPECT_FALSE(bus.wrotezero) << name;
            for (int v = 0; v < 3; ++v)
                EXPECT_GT(bus.gateons[v], 10) << name << " song " << song << " voice " << v;
            bool noise = false;
            for (int v = 0; v < 3; ++v)
                noise = noise || bus.waveforms[v].count(8);
            EXPECT_TRUE(noise) << name << " song " << song;
            EXPECT_GT(bus.adsrwrites, 0) << name;
        }
    }
}

TEST_F(DemoTunes, TogetherTheyUseSweepsModulationAndTheFilter) {
    bool sweep = false, sync = false, ring = false, lowpass = false, cutoffsweep = false;
    for (const char* name : tunenames) {
        tune t = loadtune(name);
        for (int song = 0; song < t.songs; ++song) {
            bus = sidevents{};
            int maxi;
            uint16_t play;
            playthrough(t, song, 3000, maxi, play);
            for (int v = 0; v < 3; ++v)
                sweep = sweep || bus.pulses[v].size() > 20;
            for (int c : bus.controlbits) {
                sync = sync || (c & 0x02);
                ring = ring || ((c & 0x04) && (c & 0x10));
            }
            bool lp = false;
            for (int m : bus.modes)
                lp = lp || ((m & 0x10) && (m & 0x0F));
            bool routed = false;
            for (int r : bus.routing)
                routed = routed || (r & 0x07);
            lowpass = lowpass || (lp && routed);
            cutoffsweep = cutoffsweep || bus.cutoffs.size() > 10;
        }
    }
    EXPECT_TRUE(sweep);
    EXPECT_TRUE(sync);
    EXPECT_TRUE(ring);
    EXPECT_TRUE(lowpass);
    EXPECT_TRUE(cutoffsweep);
}

TEST_F(DemoTunes, InitClampsAnOutOfRangeSubsong) {
    tune t = loadtune("harbour");
    int maxi;
    uint16_t play;
    bus = sidevents{};
    int first = playthrough(t, 0, 3000, maxi, play);
    bus = sidevents{};
    int wild = playthrough(t, 200, 3000, maxi, play);
    EXPECT_EQ(first, wild);
}

TEST_F(DemoTunes, SonglengthsListsEveryTuneByItsIdentity) {
    for (const std::string& dir : {builddir() + "/demo", sourcedir() + "/demo"}) {
        std::string text = readtext(dir + "/Songlengths.txt");
        ASSERT_FALSE(text.empty()) << dir;
        EXPECT_EQ(text[0], ';');
        EXPECT_NE(text.find("\n[Database]\n"), std::string::npos);
        for (const char* name : tunenames) {
            tune t = loadtune(name);
            auto d = sid::tunedigest(t.file.data() + t.dataat, t.file.size() - t.dataat,
                                     t.init, be16(t.file, 12), t.songs, t.speed);
            static const char hex[] = "0123456789abcdef";
            std::string line;
            for (uint8_t b : d) {
                line += hex[b >> 4];
                line += hex[b & 15];
            }
            line += '=';
            auto lengths = statedlengths(name);
            for (size_t i = 0; i < lengths.size(); ++i)
                line += (i ? " " : "") + lengths[i];
            EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << dir << ": " << line;
        }
    }
}

}  // namespace
