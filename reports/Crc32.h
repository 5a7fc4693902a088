#pragma once
#include <array>
#include <cstdint>
#include <span>

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320), with which a
// page picture seals its own bytes.
namespace Crc32 {

inline const std::array<std::uint32_t, 256>& table()
{
    static const std::array<std::uint32_t, 256> t = [] {
        std::array<std::uint32_t, 256> made{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            made[n] = c;
        }
        return made;
    }();
    return t;
}

inline std::uint32_t of(std::span<const std::uint8_t> bytes)
{
    const auto& t = table();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes)
        c = t[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

}  // namespace Crc32
