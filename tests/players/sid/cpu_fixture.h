// Shared set-up for the processor tests: clean memory and registers, a
// write hook that records every write and (unless told otherwise) stores
// it, and helpers to place code and run it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "players/sid/cpu.h"

namespace cputest {

struct buswrite {
    uint16_t address;
    uint8_t value;
    bool operator==(const buswrite&) const = default;
};

inline std::vector<buswrite> writes;
inline bool storewrites = true;

inline void recordinghook(uint16_t address, uint8_t value) {
    writes.push_back({address, value});
    if (storewrites)
        cpu::cpumem[address] = value;
}

class CpuTest : public ::testing::Test {
protected:
    void SetUp() override {
        cpu::cpusetup();
        cpu::cpumem.fill(0);
        cpu::cpuhalted = false;
        cpu::cpucycles = 0;
        cpu::memwritehook = recordinghook;
        writes.clear();
        storewrites = true;
        cpu::cpureset();
    }

    void TearDown() override { cpu::memwritehook = nullptr; }

    static void poke(uint16_t address, std::initializer_list<int> bytes) {
        for (int b : bytes)
            cpu::cpumem[address++] = static_cast<uint8_t>(b);
    }

    // Runs exactly one instruction at address; returns the cycles it took.
    static uint32_t step(uint16_t address) {
        cpu::pc = address;
        cpu::cpuhalted = false;
        cpu::cpurun(1);
        return cpu::cpucycles;
    }
};

// The build directory: from the environment, else the one the tests were
// built in.
inline std::string builddir() {
    const char* build = std::getenv("TARPLAY_BUILD");
#ifdef TARPLAY_BUILD_DIR
    return build ? build : TARPLAY_BUILD_DIR;
#else
    return build ? build : ".";
#endif
}

// Loads an assembled program (two-byte load address, then the bytes) into
// memory; returns its load address.
inline uint16_t loadprogram(const std::string& name) {
    std::string path = builddir() + "/asm/" + name + ".prg";
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_GE(data.size(), 3u) << path;
    if (data.size() < 3)
        return 0;
    uint16_t load = static_cast<uint16_t>(static_cast<uint8_t>(data[0]) + 256 * static_cast<uint8_t>(data[1]));
    for (size_t i = 2; i < data.size() && load + i - 2 < 65536; ++i)
        cpu::cpumem[load + i - 2] = static_cast<uint8_t>(data[i]);
    return load;
}

}  // namespace cputest
