// The libFuzzer entry for one target, chosen at build time with FUZZ_ENTRY.
#include "fuzz/fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzz::FUZZ_ENTRY(data, size);
}
