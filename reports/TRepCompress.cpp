#include "TRepCompress.h"

#include "EReportError.h"

TRepCompress::TRepCompress()
{
    parent_[0] = 0;
    for (int i = 1; i <= 512; ++i)
        parent_[i] = static_cast<std::uint8_t>((i - 1) / 2);
    for (int i = 0; i < 256; ++i) {
        left_[i] = static_cast<std::uint16_t>(2 * i + 1);
        right_[i] = static_cast<std::uint16_t>(2 * i + 2);
    }
}

void TRepCompress::splay(std::uint8_t byte)
{
    unsigned a = 256u + byte;
    do {
        const unsigned c = parent_[a];
        if (c != 0) {
            const unsigned d = parent_[c];
            unsigned e = left_[d];
            if (e == c) {
                e = right_[d];
                right_[d] = static_cast<std::uint16_t>(a);
            } else {
                left_[d] = static_cast<std::uint16_t>(a);
            }
            if (left_[c] == a)
                left_[c] = static_cast<std::uint16_t>(e);
            else
                right_[c] = static_cast<std::uint16_t>(e);
            parent_[a] = static_cast<std::uint8_t>(d);
            parent_[e] = static_cast<std::uint8_t>(c);
            a = d;
        } else {
            a = c;
        }
    } while (a != 0);
}

int TRepCompress::encode(std::uint8_t byte)
{
    // A path has at most one step per internal node and the leaf.
    bool path[260];
    int depth = 0;
    unsigned node = 256u + byte;
    do {
        const unsigned up = parent_[node];
        path[depth++] = right_[up] == node;
        node = up;
    } while (node != 0);
    for (int i = depth - 1; i >= 0; --i) {
        if (path[i])
            bits_ |= mask_;
        if (mask_ == 128) {
            out_.push_back(bits_);
            bits_ = 0;
            mask_ = 1;
        } else {
            mask_ = static_cast<std::uint8_t>(mask_ << 1);
        }
    }
    splay(byte);
    return depth;
}

std::vector<std::uint8_t> TRepCompress::finish()
{
    if (mask_ != 1)
        out_.push_back(bits_);
    bits_ = 0;
    mask_ = 1;
    return std::move(out_);
}

std::vector<std::uint8_t> TRepCompress::decode(std::span<const std::uint8_t> coded, size_t length)
{
    std::vector<std::uint8_t> out;
    out.reserve(length);
    size_t next = 0;
    std::uint8_t current = 0;
    std::uint8_t mask = 128;  // as if bit 7 had just been used
    for (size_t i = 0; i < length; ++i) {
        unsigned node = 0;
        while (node < 256) {
            if (mask == 128) {
                if (next >= coded.size())
                    throw EReportError("Invalid report file: coded page is shorter than its length");
                current = coded[next++];
                mask = 1;
            } else {
                mask = static_cast<std::uint8_t>(mask << 1);
            }
            node = (current & mask) ? right_[node] : left_[node];
        }
        const auto byte = static_cast<std::uint8_t>(node - 256);
        out.push_back(byte);
        splay(byte);
    }
    return out;
}
