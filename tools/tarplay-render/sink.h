// Where a worker's blocks go: a WAV file as F2 writes it, or FLAC.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace render {

#ifdef TARPLAY_FLAC
inline constexpr bool flacavailable = true;
#else
inline constexpr bool flacavailable = false;
#endif

class sink {
public:
    virtual ~sink() = default;
    // Takes the file, which close (or the destructor) closes.
    virtual bool open(std::FILE* f, uint32_t rate) = 0;
    // Interleaved 16-bit stereo frames.
    virtual bool write(const int16_t* pcm, int frames) = 0;
    // Completes and closes the file; false if anything on the way failed.
    virtual bool close() = 0;
    // What went wrong, once something returned false.
    virtual std::string error() const = 0;
};

// "wav" or "flac" (when flacavailable).
std::unique_ptr<sink> makesink(const std::string& format);

}  // namespace render
