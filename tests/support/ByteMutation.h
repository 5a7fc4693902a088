#pragma once
// Random damage for fuzz tests of file loaders: byte flips, words set to
// lying sizes and offsets, cuts and tails.
#include "LittleEndian.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace ByteMutation {

inline void mutate(std::vector<std::uint8_t>& bytes, std::mt19937& rng)
{
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const size_t at = rng() % bytes.size();
        switch (rng() % 6) {
        case 0:
            bytes[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
            break;
        case 1:
            bytes[at] = static_cast<std::uint8_t>(rng());
            break;
        case 2: {
            const std::uint32_t lies[] = {0,
                                          1,
                                          4,
                                          8,
                                          0x7FFFFFFF,
                                          0xFFFFFFFF,
                                          0x80000000,
                                          static_cast<std::uint32_t>(bytes.size()),
                                          static_cast<std::uint32_t>(bytes.size() - 4),
                                          static_cast<std::uint32_t>(rng() % (bytes.size() + 16))};
            const size_t word = at & ~size_t(3);
            if (word + 4 <= bytes.size())
                LittleEndian::set32(bytes.data() + word, lies[rng() % std::size(lies)]);
            break;
        }
        case 3:
            bytes.resize(at);
            break;
        case 4:
            bytes.insert(bytes.end(), rng() % 64, static_cast<std::uint8_t>(rng()));
            break;
        default:
            bytes.erase(bytes.begin() + static_cast<long>(at),
                        bytes.begin() + static_cast<long>(std::min(bytes.size(), at + rng() % 16)));
        }
    }
}

inline std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace ByteMutation
