// Entry points that feed one arbitrary input to a loader and, when the
// loader accepts it, play a few ticks. Used by the libFuzzer programs and by
// the bounded mutation test that runs with every test run.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

int fuzzpsid(const uint8_t* data, size_t size);
int fuzzahx(const uint8_t* data, size_t size);
int fuzzsongdb(const uint8_t* data, size_t size);
int fuzzhvsc(const uint8_t* data, size_t size);
int fuzzstil(const uint8_t* data, size_t size);

}  // namespace fuzz
