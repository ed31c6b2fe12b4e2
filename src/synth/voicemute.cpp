// Muting for renderers whose voice record carries the flag: compiled into
// each such renderer's library against its own record.h.
#include "record.h"
#include "synth/voice.h"

namespace synth {

void voicemute(int v, bool muted) { voices[static_cast<size_t>(v) % voices.size()].muted = muted ? 1 : 0; }
bool voicemuted(int v) { return voices[static_cast<size_t>(v) % voices.size()].muted != 0; }

}  // namespace synth
