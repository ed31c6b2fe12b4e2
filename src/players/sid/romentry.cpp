#include "players/sid/romentry.h"

#include <cstddef>
#include <initializer_list>

namespace sid {

namespace {

void put(romimage& rom, uint16_t address, std::initializer_list<uint8_t> code)
{
    for (uint8_t b : code) rom[static_cast<size_t>(address++ - romstart)] = b;
}

}  // namespace

romimage buildrom()
{
    romimage rom;
    rom.fill(0x60);  // RTS

    // IRQ and BRK entry: save A, X, Y; a BRK (B set in the pushed status)
    // goes through the BRK vector, an interrupt through the IRQ vector.
    put(rom, 0xFF48, {0x48, 0x8A, 0x48, 0x98, 0x48,  // PHA TXA PHA TYA PHA
                      0xBA,                          // TSX
                      0xBD, 0x04, 0x01,              // LDA $0104,X
                      0x29, 0x10,                    // AND #$10
                      0xF0, 0x03,                    // BEQ +3
                      0x6C, 0x16, 0x03,              // JMP ($0316)
                      0x6C, 0x14, 0x03});            // JMP ($0314)
    // The system's IRQ handler: its keyboard and clock work has no use
    // here; it ends as the ROM's does, through the exit below.
    put(rom, romirqhandler, {0x4C, 0x7E, 0xEA});  // JMP $EA7E
    // IRQ exit: acknowledge CIA 1, restore Y, X, A, return.
    put(rom, 0xEA7E, {0xAD, 0x0D, 0xDC,                     // LDA $DC0D
                      0x68, 0xA8, 0x68, 0xAA, 0x68, 0x40});  // PLA TAY PLA TAX PLA RTI
    // NMI entry: mask IRQs, go through the NMI vector.
    put(rom, 0xFE43, {0x78, 0x6C, 0x18, 0x03});  // SEI; JMP ($0318)
    // The system's NMI handler: save the registers, acknowledge CIA 2, out.
    put(rom, romnmihandler, {0x48, 0x8A, 0x48, 0x98, 0x48,  // PHA TXA PHA TYA PHA
                             0xAD, 0x0D, 0xDD,              // LDA $DD0D
                             0x4C, 0xBC, 0xFE});            // JMP $FEBC
    // BRK: no BASIC to warm-start; out as from an interrupt.
    put(rom, rombrkhandler, {0x4C, 0x81, 0xEA});  // JMP $EA81
    // NMI exit: restore Y, X, A, return.
    put(rom, 0xFEBC, {0x68, 0xA8, 0x68, 0xAA, 0x68, 0x40});
    put(rom, idleaddress, {0x4C, idleaddress & 0xFF, idleaddress >> 8});  // JMP to itself
    // Hardware vectors: NMI, reset (the idle loop), IRQ.
    put(rom, 0xFFFA, {0x43, 0xFE, idleaddress & 0xFF, idleaddress >> 8, 0x48, 0xFF});
    return rom;
}

}  // namespace sid
