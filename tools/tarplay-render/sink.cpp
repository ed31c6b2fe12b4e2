#include "sink.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/wavrecord.h"

#ifdef TARPLAY_FLAC
#include <FLAC/stream_encoder.h>
#endif

namespace render {

namespace {

// F2's file: its header, the blocks, the sizes patched at the end.
class wavsink : public sink {
public:
    ~wavsink() override
    {
        if (f) std::fclose(f);
    }
    bool open(std::FILE* file, uint32_t) override
    {
        f = file;
        // Fewer, larger writes, as F2 makes them.
        std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
        return check(shell::writewavheader(f));
    }
    bool write(const int16_t* pcm, int frames) override
    {
        const size_t n = 4 * static_cast<size_t>(frames);
        return check(std::fwrite(pcm, 1, n, f) == n);
    }
    bool close() override
    {
        bool ok = failed == 0 && check(shell::patchwavsizes(f));
        const int e = std::fclose(f);
        f = nullptr;
        return ok && check(e == 0);
    }
    std::string error() const override { return std::strerror(failed ? failed : EIO); }

private:
    bool check(bool ok)
    {
        if (!ok && failed == 0) failed = errno ? errno : EIO;
        return ok;
    }
    std::FILE* f = nullptr;
    int failed = 0;
};

#ifdef TARPLAY_FLAC
// 16-bit stereo at the renderer's rate, libFLAC's default compression.
class flacsink : public sink {
public:
    ~flacsink() override
    {
        if (enc) FLAC__stream_encoder_delete(enc);
        if (f) std::fclose(f);
    }
    bool open(std::FILE* file, uint32_t rate) override
    {
        f = file;
        enc = FLAC__stream_encoder_new();
        if (!enc) return fail("out of memory");
        FLAC__stream_encoder_set_channels(enc, 2);
        FLAC__stream_encoder_set_bits_per_sample(enc, 16);
        FLAC__stream_encoder_set_sample_rate(enc, rate);
        FLAC__stream_encoder_set_compression_level(enc, 5);
        // From here the encoder owns the file and closes it when finished.
        const auto status = FLAC__stream_encoder_init_FILE(enc, f, nullptr, nullptr);
        if (status != FLAC__STREAM_ENCODER_INIT_STATUS_OK) return fail(FLAC__StreamEncoderInitStatusString[status]);
        f = nullptr;
        return true;
    }
    bool write(const int16_t* pcm, int frames) override
    {
        samples.resize(2 * static_cast<size_t>(frames));
        for (size_t i = 0; i < samples.size(); ++i) samples[i] = pcm[i];
        if (FLAC__stream_encoder_process_interleaved(enc, samples.data(), static_cast<unsigned>(frames))) return true;
        return fail(FLAC__stream_encoder_get_resolved_state_string(enc));
    }
    bool close() override
    {
        if (!enc) return false;
        const bool ok = FLAC__stream_encoder_finish(enc);
        if (!ok && message.empty()) message = FLAC__stream_encoder_get_resolved_state_string(enc);
        FLAC__stream_encoder_delete(enc);
        enc = nullptr;
        return ok && message.empty();
    }
    std::string error() const override { return message; }

private:
    bool fail(const char* what)
    {
        if (message.empty()) message = errno ? std::string(what) + " (" + std::strerror(errno) + ")" : what;
        return false;
    }
    std::FILE* f = nullptr;
    FLAC__StreamEncoder* enc = nullptr;
    std::vector<FLAC__int32> samples;
    std::string message;
};
#endif

}  // namespace

std::unique_ptr<sink> makesink(const std::string& format)
{
#ifdef TARPLAY_FLAC
    if (format == "flac") return std::make_unique<flacsink>();
#else
    (void)format;
#endif
    return std::make_unique<wavsink>();
}

}  // namespace render
