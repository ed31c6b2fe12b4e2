// The plain per-frame renderer that the fast one is checked against.
#pragma once

#include <cstdint>

namespace synth::reference {

// Renders count frames exactly as the fast renderer must, one frame at a
// time with the control bytes decoded once per call.
void renderframes(int16_t* out, uint16_t count);

}  // namespace synth::reference
