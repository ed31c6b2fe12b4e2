// The bent phase eight frames at a time where the processor can, chosen at
// run time so that one build runs everywhere.
#include "synth/pd/wide.h"

#include "synth/pd/record.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARPLAY_X86 1
#endif

namespace synth {


namespace {

uint32_t bendplain(int32_t* base, uint32_t count, uint32_t phase, uint32_t step, const tbend& b)
{
    for (uint32_t k = 0; k < count; ++k) {
        phase += step;
        base[k] = bentphase(static_cast<int32_t>((phase >> 8) & 0xFFFF), b);
    }
    return phase;
}

void bendinplaceplain(int32_t* base, uint32_t count, const tbend& b)
{
    for (uint32_t k = 0; k < count; ++k) base[k] = bentphase(base[k], b);
}

// Every product fits 32 bits: sources, windows and ring sources are within
// 16 bits, and the level within 8.
template <bool Window, bool Ring>
inline void mixloop(int32_t* sum, uint32_t n, const tmixvoice& v)
{
    for (uint32_t j = 0; j < n; ++j) {
        int32_t o = v.source[j];
        if (Window) o = o * v.window[j] / 32768;
        if (Ring) o = o * v.ring[j] / 32768;
        o = o < -32768 ? -32768 : o > 32767 ? 32767 : o;
        sum[j] += o * v.volume[j] / 1024;
    }
}

inline void mixany(int32_t* sum, uint32_t n, const tmixvoice& v)
{
    if (v.window && v.ring)
        mixloop<true, true>(sum, n, v);
    else if (v.window)
        mixloop<true, false>(sum, n, v);
    else if (v.ring)
        mixloop<false, true>(sum, n, v);
    else
        mixloop<false, false>(sum, n, v);
}

#ifdef TARPLAY_X86
__attribute__((target("avx2"))) inline __m256i div256wide(__m256i x)
{
    // Negative values are biased by 255 first, so the shift truncates
    // toward zero.
    const __m256i bias = _mm256_srli_epi32(_mm256_srai_epi32(x, 31), 24);
    return _mm256_srai_epi32(_mm256_add_epi32(x, bias), 8);
}

// What a settled voice's glides derive, in every lane.
struct tbendwide {
    __m256i t, pdb, a0, a1;
};

__attribute__((target("avx2"))) inline tbendwide widen(const tbend& b)
{
    return {_mm256_set1_epi32(b.t), _mm256_set1_epi32(b.pdb), _mm256_set1_epi32(b.a0), _mm256_set1_epi32(b.a1)};
}

// The bent phases of eight 16-bit phases: bentphase (bend.h) in every lane.
__attribute__((target("avx2"))) inline __m256i bend8(__m256i p, const tbendwide& b)
{
    const __m256i low16 = _mm256_set1_epi32(0xFFFF), top = _mm256_set1_epi32(65535);
    const __m256i half = _mm256_set1_epi32(32767);
    const __m256i one = _mm256_set1_epi32(1), sixteen = _mm256_set1_epi32(16);
    __m256i pp = _mm256_add_epi32(p, _mm256_srai_epi32(_mm256_mullo_epi32(p, b.t), 8));
    pp = _mm256_andnot_si256(_mm256_cmpgt_epi32(pp, top), pp);
    const __m256i a = _mm256_blendv_epi8(b.a0, b.a1, _mm256_cmpgt_epi32(pp, half));
    const __m256i index = _mm256_and_si256(_mm256_add_epi32(pp, pp), low16);
    // The table's entries in pairs, as 32-bit words that never reach past
    // its end; the entry is the low or the high half, sign-extended.
    const __m256i pair =
        _mm256_i32gather_epi32(reinterpret_cast<const int*>(costab.data()), _mm256_srli_epi32(index, 1), 4);
    const __m256i high = _mm256_slli_epi32(_mm256_and_si256(index, one), 4);
    const __m256i s = _mm256_srai_epi32(_mm256_sllv_epi32(pair, _mm256_sub_epi32(sixteen, high)), 16);
    const __m256i d = div256wide(_mm256_mullo_epi32(_mm256_sub_epi32(half, s), a));
    return _mm256_add_epi32(div256wide(_mm256_mullo_epi32(d, b.pdb)), pp);
}

__attribute__((target("avx2"))) uint32_t bendavx2(int32_t* base, uint32_t count, uint32_t phase, uint32_t step,
                                                  const tbend& b)
{
    const __m256i lanes = _mm256_setr_epi32(1, 2, 3, 4, 5, 6, 7, 8);
    __m256i ph = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(phase)),
                                  _mm256_mullo_epi32(lanes, _mm256_set1_epi32(static_cast<int32_t>(step))));
    const __m256i advance = _mm256_set1_epi32(static_cast<int32_t>(step * 8u));
    const __m256i low16 = _mm256_set1_epi32(0xFFFF);
    const tbendwide w = widen(b);
    uint32_t k = 0;
    for (; k + 8 <= count; k += 8) {
        const __m256i p = _mm256_and_si256(_mm256_srli_epi32(ph, 8), low16);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(base + k), bend8(p, w));
        ph = _mm256_add_epi32(ph, advance);
    }
    return bendplain(base + k, count - k, phase + k * step, step, b);
}

__attribute__((target("avx2"))) void bendinplaceavx2(int32_t* base, uint32_t count, const tbend& b)
{
    const tbendwide w = widen(b);
    uint32_t k = 0;
    for (; k + 8 <= count; k += 8) {
        __m256i* at = reinterpret_cast<__m256i*>(base + k);
        _mm256_storeu_si256(at, bend8(_mm256_loadu_si256(at), w));
    }
    bendinplaceplain(base + k, count - k, b);
}

// The same loops, which the compiler widens to eight lanes here.
__attribute__((target("avx2"))) void mixavx2(int32_t* sum, uint32_t n, const tmixvoice& v)
{
    mixany(sum, n, v);
}

bool detectavx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

bool wide = detectavx2();
#else
bool wide = false;
#endif

}  // namespace

bool bendwide()
{
    return wide;
}

void setbendwide(bool on)
{
#ifdef TARPLAY_X86
    wide = on && detectavx2();
#else
    (void)on;
#endif
}

void mixvoice(int32_t* sum, uint32_t n, const tmixvoice& v)
{
#ifdef TARPLAY_X86
    if (wide) return mixavx2(sum, n, v);
#endif
    mixany(sum, n, v);
}

uint32_t bendphases(int32_t* base, uint32_t count, uint32_t phase, uint32_t step, const tbend& b)
{
#ifdef TARPLAY_X86
    if (wide) return bendavx2(base, count, phase, step, b);
#endif
    return bendplain(base, count, phase, step, b);
}

void bendinplace(int32_t* base, uint32_t count, const tbend& b)
{
#ifdef TARPLAY_X86
    if (wide) return bendinplaceavx2(base, count, b);
#endif
    bendinplaceplain(base, count, b);
}

}  // namespace synth
