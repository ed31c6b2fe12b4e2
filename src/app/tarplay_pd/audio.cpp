// tarplay_pd's audio path: one frame loop for the device and for WAV
// blocks alike, with no silence branch and no counting. The device only
// runs while the play screen has a tune loaded.
#include <cstring>

#include "app/audio.h"
#include "app/playback.h"
#include "synth/synth.h"

namespace shell {

relaxed<uint16_t> tickcountdown{0};
relaxed<int32_t> blockframes{2048};
std::array<relaxed<int16_t>, 65536> scopebuf;

void audioreset()
{
    tickcountdown = 0;
    blockframes = 2048;
    for (auto& s : scopebuf) s = 0;
}

void audiocallback(void*, uint8_t* stream, int len)
{
    const int frames = len / 4;
    blockframes = frames;
    int16_t frame[2];
    uint16_t countdown = tickcountdown;
    for (int i = 0; i < frames && i < 65536; ++i) {
        if (countdown == 0) {
            const playerrec& p = players[curplayer.load() & 7];
            if (p.tick) p.tick();
            countdown = static_cast<uint16_t>(samplespertick.load());
        }
        --countdown;
        synth::renderframes(frame, 1);
        std::memcpy(stream + 4 * i, frame, 4);
        scopebuf[i] = frame[0];
    }
    tickcountdown = countdown;
}

void renderblock(void* userdata, uint8_t* buffer, int len)
{
    audiocallback(userdata, buffer, len);
}

}  // namespace shell
