#include "Crc32.h"

#include <array>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define CRC32_FOLDING 1
#endif

namespace {

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

const Tables& tables()
{
    static const Tables t = [] {
        Tables made{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            made[0][n] = c;
        }
        for (std::uint32_t n = 0; n < 256; ++n)
            for (size_t k = 1; k < 8; ++k)
                made[k][n] = (made[k - 1][n] >> 8) ^ made[0][made[k - 1][n] & 0xFF];
        return made;
    }();
    return t;
}

// c: the running register, not yet inverted at the end.
std::uint32_t update(std::uint32_t c, const std::uint8_t* p, size_t left)
{
    const Tables& t = tables();
    for (; left >= 8; p += 8, left -= 8) {
        const std::uint32_t low = c ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                       std::uint32_t(p[3]) << 24);
        c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^ t[3][p[4]] ^
            t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; left > 0; ++p, --left)
        c = t[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return c;
}

#ifdef CRC32_FOLDING

// Folding by carry-less multiplication: four 128-bit lanes take 64 bytes a
// step, fold into one lane, then reduce to 32 bits (Barrett). The constants
// are powers of x modulo the polynomial, bit-reflected: x^(4*128+32) and
// x^(4*128-32) for the four-lane fold, x^(128+32) and x^(128-32) for one
// lane, x^64 for 64 bits, and the polynomial with its Barrett quotient.
// Every function that uses the instructions is compiled for them.
#define CRC32_TARGET __attribute__((target("pclmul,sse4.1")))

CRC32_TARGET inline __m128i load(const std::uint8_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// The lane times both halves of k, plus the next 16 bytes.
CRC32_TARGET inline __m128i step(__m128i lane, __m128i k, __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), next);
}

// len: at least 64 and a multiple of 16.
CRC32_TARGET std::uint32_t fold(std::uint32_t c, const std::uint8_t* p, size_t len)
{
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    __m128i x1 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(c)));
    __m128i x2 = load(p + 16), x3 = load(p + 32), x4 = load(p + 48);
    p += 64;
    len -= 64;
    for (; len >= 64; p += 64, len -= 64) {
        x1 = step(x1, k1k2, load(p));
        x2 = step(x2, k1k2, load(p + 16));
        x3 = step(x3, k1k2, load(p + 32));
        x4 = step(x4, k1k2, load(p + 48));
    }
    x1 = step(x1, k3k4, x2);
    x1 = step(x1, k3k4, x3);
    x1 = step(x1, k3k4, x4);
    for (; len >= 16; p += 16, len -= 16)
        x1 = step(x1, k3k4, load(p));

    // 128 bits to 64, then to 32 by Barrett reduction.
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);
    x2 = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00), x2);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, low32), poly, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return static_cast<std::uint32_t>(_mm_extract_epi32(x1, 1));
}

bool canFold()
{
    static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return can;
}

#endif

}  // namespace

std::uint32_t Crc32::of(std::span<const std::uint8_t> bytes)
{
    std::uint32_t c = 0xFFFFFFFFu;
    const std::uint8_t* p = bytes.data();
    size_t left = bytes.size();
#ifdef CRC32_FOLDING
    if (left >= 64 && canFold()) {
        const size_t folded = left & ~size_t{15};
        c = fold(c, p, folded);
        p += folded;
        left -= folded;
    }
#endif
    return update(c, p, left) ^ 0xFFFFFFFFu;
}

std::uint32_t Crc32::ofByTables(std::span<const std::uint8_t> bytes)
{
    return update(0xFFFFFFFFu, bytes.data(), bytes.size()) ^ 0xFFFFFFFFu;
}
