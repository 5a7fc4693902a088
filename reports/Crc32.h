#pragma once
#include <array>
#include <cstdint>
#include <span>

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320), with which a
// page picture seals its own bytes. Eight bytes a step ("slicing by 8"):
// checking a loaded file costs little more than reading it.
namespace Crc32 {

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

inline const Tables& tables()
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

inline std::uint32_t of(std::span<const std::uint8_t> bytes)
{
    const Tables& t = tables();
    std::uint32_t c = 0xFFFFFFFFu;
    const std::uint8_t* p = bytes.data();
    size_t left = bytes.size();
    for (; left >= 8; p += 8, left -= 8) {
        const std::uint32_t low = c ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                       std::uint32_t(p[3]) << 24);
        c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^ t[3][p[4]] ^
            t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; left > 0; ++p, --left)
        c = t[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

}  // namespace Crc32
