#include <array>
#include <cstdint>

#include "players/ahx/ahxsong.h"

namespace ahx {

const std::array<int32_t, 61> periodtable = {
    0,
    3424, 3232, 3048, 2880, 2712, 2560, 2416, 2280, 2152, 2032, 1920, 1812,
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960,  906,
    856,  808,  762,  720,  678,  640,  604,  570,  538,  508,  480,  453,
    428,  404,  381,  360,  339,  320,  302,  285,  269,  254,  240,  226,
    214,  202,  190,  180,  170,  160,  151,  143,  135,  127,  120,  113,
};

// A sine in 64 steps: a rising quarter is given, the rest mirrors it.
static constexpr std::array<int32_t, 64> makevibrato()
{
    constexpr int32_t quarter[17] = {0,   24,  49,  74,  97,  120, 141, 161, 180,
                                     197, 212, 224, 235, 244, 250, 253, 255};
    std::array<int32_t, 64> t{};
    for (int i = 0; i <= 16; ++i) t[i] = quarter[i];
    for (int k = 1; k <= 16; ++k) t[16 + k] = t[16 - k];
    for (int i = 0; i < 32; ++i) t[32 + i] = -t[i];
    return t;
}

const std::array<int32_t, 64> vibratotable = makevibrato();

}  // namespace ahx
