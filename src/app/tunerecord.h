// F2's recording without its screen: the steps around the player's load
// and the block loop that ends at the tune's end or at the record limit.
// F2 (app/wavrecord.cpp) and tarplay-render both go through here, so that
// a tune rendered from the command line is the file F2 writes.
#pragma once

#include <cstdint>

namespace shell {

// Bytes of one recorded block: 4096 frames of 16-bit stereo.
constexpr int recordblockbytes = 16384;

// Before the player's load, once recordprepare (audiolife.h) has kept the
// audio thread away from the player: the voices as a fresh program has them.
void recordbegin();

// After a successful load, right before the first block: the play counters
// at their start, and the tick contract told to end the tune at its length.
// Returns the frame limit past which a player that never
// ends its tune is stopped.
uint64_t recordstart();

// Renders the next block into buffer (recordblockbytes) and counts it in
// written; true when the recording ends with this block (the tick contract
// found the tune over, or written reached limit).
bool recordnextblock(uint8_t* buffer, uint64_t& written, uint64_t limit);

// After the last block, or when the recording is given up: a tune played
// next plays on past its length again.
void recordend();

}  // namespace shell
