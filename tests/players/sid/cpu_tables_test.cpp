// The opcode tables against an opcode map typed out independently: the
// classic 16x16 grid of mnemonics and modes, the chip's own cycle counts,
// and the few cycle counts this processor changes.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

#include "players/sid/cpu.h"

namespace {

// Mnemonic/mode per opcode, row by row. Modes: imp (implied), acc
// (accumulator, same routine as implied), imm, zp, zpx, zpy, abs, abx, aby,
// izx, izy, ind, iax, rel. Accumulator shifts carry their own mnemonic
// (ASLA...) because they are a different operation from the memory ones.
const char* const opmap[16] = {
    "BRK/imp ORA/izx JAM/imp NOP/imp TSB/zp  ORA/zp  ASL/zp  NOP/imp PHP/imp ORA/imm ASLA/acc ANC/imm TSB/abs ORA/abs ASL/abs NOP/imp",
    "BPL/rel ORA/izy JAM/imp NOP/imp TRB/zp  ORA/zpx ASL/zpx NOP/imp CLC/imp ORA/aby INA/acc NOP/imp TRB/abs ORA/abx ASL/abx NOP/imp",
    "JSR/abs AND/izx JAM/imp NOP/imp BIT/zp  AND/zp  ROL/zp  NOP/imp PLP/imp AND/imm ROLA/acc ANC/imm BIT/abs AND/abs ROL/abs NOP/imp",
    "BMI/rel AND/izy JAM/imp NOP/imp BIT/zpx AND/zpx ROL/zpx NOP/imp SEC/imp AND/aby DEA/acc NOP/imp BIT/abx AND/abx ROL/abx NOP/imp",
    "RTI/imp EOR/izx JAM/imp NOP/imp NOP/imp EOR/zp  LSR/zp  NOP/imp PHA/imp EOR/imm LSRA/acc NOP/imp JMP/abs EOR/abs LSR/abs NOP/imp",
    "BVC/rel EOR/izy JAM/imp NOP/imp NOP/imp EOR/zpx LSR/zpx NOP/imp CLI/imp EOR/aby PHY/imp NOP/imp NOP/imp EOR/abx LSR/abx NOP/imp",
    "RTS/imp ADC/izx JAM/imp NOP/imp STZ/zp  ADC/zp  ROR/zp  NOP/imp PLA/imp ADC/imm RORA/acc NOP/imp JMP/ind ADC/abs ROR/abs NOP/imp",
    "BVS/rel ADC/izy JAM/imp NOP/imp STZ/zpx ADC/zpx ROR/zpx NOP/imp SEI/imp ADC/aby PLY/imp NOP/imp JMP/iax ADC/abx ROR/abx NOP/imp",
    "BRA/rel STA/izx NOP/imp NOP/imp STY/zp  STA/zp  STX/zp  NOP/imp DEY/imp BIT/imm TXA/imp NOP/imp STY/abs STA/abs STX/abs NOP/imp",
    "BCC/rel STA/izy JAM/imp NOP/imp STY/zpx STA/zpx STX/zpy NOP/imp TYA/imp STA/aby TXS/imp NOP/imp STZ/abs STA/abx STZ/abx NOP/imp",
    "LDY/imm LDA/izx LDX/imm LAX/izx LDY/zp  LDA/zp  LDX/zp  LAX/zp  TAY/imp LDA/imm TAX/imp NOP/imp LDY/abs LDA/abs LDX/abs LAX/abs",
    "BCS/rel LDA/izy JAM/imp LAX/izy LDY/zpx LDA/zpx LDX/zpy LAX/zpy CLV/imp LDA/aby TSX/imp NOP/imp LDY/abx LDA/abx LDX/aby LAX/aby",
    "CPY/imm CMP/izx NOP/imp NOP/imp CPY/zp  CMP/zp  DEC/zp  NOP/imp INY/imp CMP/imm DEX/imp NOP/imp CPY/abs CMP/abs DEC/abs NOP/imp",
    "BNE/rel CMP/izy JAM/imp NOP/imp NOP/imp CMP/zpx DEC/zpx NOP/imp CLD/imp CMP/aby PHX/imp NOP/imp NOP/imp CMP/abx DEC/abx NOP/imp",
    "CPX/imm SBC/izx NOP/imp NOP/imp CPX/zp  SBC/zp  INC/zp  NOP/imp INX/imp SBC/imm NOP/imp NOP/imp CPX/abs SBC/abs INC/abs NOP/imp",
    "BEQ/rel SBC/izy JAM/imp NOP/imp NOP/imp SBC/zpx INC/zpx NOP/imp SED/imp SBC/aby PLX/imp NOP/imp NOP/imp SBC/abx INC/abx NOP/imp",
};

// The NMOS chip's cycle counts (without page-crossing extras) for the
// documented opcodes; the extra opcodes with their own counts; 2 for NOPs.
const int chipcycles[256] = {
    7, 6, 2, 2, 3, 3, 5, 2, 3, 2, 2, 2, 4, 4, 6, 2,
    2, 5, 2, 2, 3, 4, 6, 2, 2, 4, 2, 2, 4, 4, 7, 2,
    6, 6, 2, 2, 3, 3, 5, 2, 4, 2, 2, 2, 4, 4, 6, 2,
    2, 5, 2, 2, 4, 4, 6, 2, 2, 4, 2, 2, 4, 4, 7, 2,
    6, 6, 2, 2, 2, 3, 5, 2, 3, 2, 2, 2, 3, 4, 6, 2,
    2, 5, 2, 2, 2, 4, 6, 2, 2, 4, 3, 2, 2, 4, 7, 2,
    6, 6, 2, 2, 3, 3, 5, 2, 4, 2, 2, 2, 5, 4, 6, 2,
    2, 5, 2, 2, 4, 4, 6, 2, 2, 4, 4, 2, 6, 4, 7, 2,
    2, 6, 2, 2, 3, 3, 3, 2, 2, 2, 2, 2, 4, 4, 4, 2,
    2, 6, 2, 2, 4, 4, 4, 2, 2, 5, 2, 2, 4, 5, 5, 2,
    2, 6, 2, 2, 3, 3, 3, 2, 2, 2, 2, 2, 4, 4, 4, 2,
    2, 5, 2, 2, 4, 4, 4, 2, 2, 4, 2, 2, 4, 4, 4, 2,
    2, 6, 2, 2, 3, 3, 5, 2, 2, 2, 2, 2, 4, 4, 6, 2,
    2, 5, 2, 2, 2, 4, 6, 2, 2, 4, 3, 2, 2, 4, 7, 2,
    2, 6, 2, 2, 3, 3, 5, 2, 2, 2, 2, 2, 4, 4, 6, 2,
    2, 5, 2, 2, 2, 4, 6, 2, 2, 4, 4, 2, 2, 4, 7, 2,
};

struct decoded {
    std::string mnemonic;
    std::string mode;
};

std::array<decoded, 256> decodemap() {
    std::array<decoded, 256> out;
    for (int row = 0; row < 16; ++row) {
        std::istringstream in(opmap[row]);
        for (int col = 0; col < 16; ++col) {
            std::string cell;
            in >> cell;
            auto slash = cell.find('/');
            out[row * 16 + col] = {cell.substr(0, slash), cell.substr(slash + 1)};
        }
    }
    return out;
}

int expectedcycles(int op, const decoded& d) {
    // Immediate forms of the documented set take 3, zero-page stores 2.
    static const std::set<int> immediate3 = {0x09, 0x29, 0x49, 0x69, 0xA0, 0xA2,
                                             0xA9, 0xC0, 0xC9, 0xE0, 0xE9};
    if (immediate3.count(op))
        return 3;
    if (op == 0x84 || op == 0x85 || op == 0x86)
        return 2;
    if (d.mnemonic == "NOP" || d.mnemonic == "JAM")
        return 2;
    return chipcycles[op];
}

class CpuTables : public ::testing::Test {
protected:
    void SetUp() override { cpu::cpusetup(); }
};

TEST_F(CpuTables, MapIsComplete) {
    auto map = decodemap();
    int nops = 0, jams = 0;
    for (int op = 0; op < 256; ++op) {
        ASSERT_FALSE(map[op].mnemonic.empty()) << std::hex << op;
        if (map[op].mnemonic == "NOP")
            ++nops;
        if (map[op].mnemonic == "JAM")
            ++jams;
    }
    // 66 undocumented NOPs plus the documented 0xEA; twelve JAMs.
    EXPECT_EQ(nops, 67);
    EXPECT_EQ(jams, 12);
}

TEST_F(CpuTables, OperationsShareOneRoutinePerMnemonic) {
    auto map = decodemap();
    std::map<std::string, int> rep;
    for (int op = 0; op < 256; ++op)
        rep.emplace(map[op].mnemonic, op);
    for (int op = 0; op < 256; ++op) {
        EXPECT_EQ(cpu::optab[op], cpu::optab[rep[map[op].mnemonic]])
            << "opcode 0x" << std::hex << op << " " << map[op].mnemonic;
    }
    // Different mnemonics must be different routines.
    for (auto i = rep.begin(); i != rep.end(); ++i)
        for (auto j = std::next(i); j != rep.end(); ++j)
            EXPECT_NE(cpu::optab[i->second], cpu::optab[j->second]) << i->first << " vs " << j->first;
}

TEST_F(CpuTables, ModesShareOneRoutinePerMode) {
    auto map = decodemap();
    std::map<std::string, int> rep;
    for (int op = 0; op < 256; ++op) {
        std::string mode = map[op].mode == "acc" ? "imp" : map[op].mode;
        rep.emplace(mode, op);
    }
    EXPECT_EQ(rep.size(), 13u);
    for (int op = 0; op < 256; ++op) {
        std::string mode = map[op].mode == "acc" ? "imp" : map[op].mode;
        EXPECT_EQ(cpu::modetab[op], cpu::modetab[rep[mode]])
            << "opcode 0x" << std::hex << op << " " << map[op].mnemonic << "/" << mode;
    }
    for (auto i = rep.begin(); i != rep.end(); ++i)
        for (auto j = std::next(i); j != rep.end(); ++j)
            EXPECT_NE(cpu::modetab[i->second], cpu::modetab[j->second]) << i->first << " vs " << j->first;
}

TEST_F(CpuTables, BaseCycles) {
    auto map = decodemap();
    for (int op = 0; op < 256; ++op)
        EXPECT_EQ(cpu::cycletab[op], expectedcycles(op, map[op]))
            << "opcode 0x" << std::hex << op << " " << map[op].mnemonic << "/" << map[op].mode;
}

TEST_F(CpuTables, SetupIsRepeatable) {
    auto ops = cpu::optab;
    auto modes = cpu::modetab;
    auto cycles = cpu::cycletab;
    cpu::optab.fill(nullptr);
    cpu::cycletab.fill(0);
    cpu::cpusetup();
    EXPECT_EQ(ops, cpu::optab);
    EXPECT_EQ(modes, cpu::modetab);
    EXPECT_EQ(cycles, cpu::cycletab);
}

}  // namespace
