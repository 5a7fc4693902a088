#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

// Adaptive prefix code over a splay tree: each coded byte moves its leaf
// towards the root, so frequent bytes get short codes. One coder codes one
// page; coding and decoding start from the same fresh tree. Bits are packed
// least significant bit first.
class TRepCompress {
public:
    TRepCompress();

    // Codes one byte; returns the number of bits it took.
    int encode(std::uint8_t byte);
    // Writes the last partial byte, if any, and hands over the coded bytes.
    std::vector<std::uint8_t> finish();

    // Decodes exactly `length` bytes. Raises EReportError when the coded
    // bytes run out first.
    std::vector<std::uint8_t> decode(std::span<const std::uint8_t> coded, size_t length);

private:
    void splay(std::uint8_t byte);

    std::array<std::uint16_t, 256> left_;
    std::array<std::uint16_t, 256> right_;
    std::array<std::uint8_t, 513> parent_;
    std::vector<std::uint8_t> out_;
    std::uint8_t bits_ = 0;
    std::uint8_t mask_ = 1;
};
