#include "colour_map.h"

#include "pixel_channels.h"
#include "vector_clones.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define CLIPWRIGHT_BYTE_PERMUTES 1
#endif

namespace engine {

CLIPWRIGHT_VECTOR_CLONES
void mapColourChannelsPortable(uint32_t* __restrict pixels, int count, const ChannelTable& table)
{
    for (int x = 0; x < count; ++x) {
        uint32_t pixel = pixels[x];
        pixels[x] = (pixel & 0xFF000000u) | static_cast<uint32_t>(table[static_cast<size_t>(redOf(pixel))]) << 16 |
                    static_cast<uint32_t>(table[static_cast<size_t>(greenOf(pixel))]) << 8 |
                    table[static_cast<size_t>(blueOf(pixel))];
    }
}

#ifdef CLIPWRIGHT_BYTE_PERMUTES

namespace {

// Sixteen pixels a step: each byte indexes two 128-byte halves of the table at once, its top bit
// picks the half, and the alpha bytes are put back.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void mapWithBytePermutes(uint32_t* pixels, int count,
                                                                                 const ChannelTable& table)
{
    const __m512i quarter0 = _mm512_loadu_si512(table.data());
    const __m512i quarter1 = _mm512_loadu_si512(table.data() + 64);
    const __m512i quarter2 = _mm512_loadu_si512(table.data() + 128);
    const __m512i quarter3 = _mm512_loadu_si512(table.data() + 192);
    const __mmask64 alphaBytes = 0x8888888888888888ull;
    for (int x = 0; x < count; x += 16) {
        int left = count - x;
        __mmask16 lanes = left >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << left) - 1);
        __m512i bytes = _mm512_maskz_loadu_epi32(lanes, pixels + x);
        __m512i lower = _mm512_permutex2var_epi8(quarter0, bytes, quarter1);
        __m512i upper = _mm512_permutex2var_epi8(quarter2, bytes, quarter3);
        __m512i mapped = _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), lower, upper);
        mapped = _mm512_mask_blend_epi8(alphaBytes, mapped, bytes);
        _mm512_mask_storeu_epi32(pixels + x, lanes, mapped);
    }
}

} // namespace

bool colourMapUsesBytePermutes()
{
    static const bool supported = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                                  __builtin_cpu_supports("avx512vbmi");
    return supported;
}

void mapColourChannels(uint32_t* pixels, int count, const ChannelTable& table)
{
    if (colourMapUsesBytePermutes())
        mapWithBytePermutes(pixels, count, table);
    else
        mapColourChannelsPortable(pixels, count, table);
}

#else

bool colourMapUsesBytePermutes() { return false; }

void mapColourChannels(uint32_t* pixels, int count, const ChannelTable& table)
{
    mapColourChannelsPortable(pixels, count, table);
}

#endif

} // namespace engine
