#pragma once
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "EReportError.h"

// Little-endian integers appended to and read from byte buffers. Every read
// is checked against the span it reads from and raises EReportError with the
// caller's context when it would run past the end.
namespace LittleEndian {

inline void put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

inline void putFloat(std::vector<std::uint8_t>& out, float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    put32(out, bits);
}

inline void set32(std::vector<std::uint8_t>& out, size_t at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out.at(at + k) = static_cast<std::uint8_t>(v >> (8 * k));
}

inline void set32(std::uint8_t* at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        at[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

inline std::uint32_t get32(const std::uint8_t* at)
{
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
}

// Checked reads; `what` names the structure in the error text.
class Reader {
public:
    Reader(std::span<const std::uint8_t> bytes, const char* what) : bytes_(bytes), what_(what) {}

    size_t size() const { return bytes_.size(); }
    bool has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
    void need(size_t offset, size_t count) const
    {
        if (!has(offset, count))
            throw EReportError(std::string("Invalid ") + what_ + ": data runs past its end");
    }
    std::uint8_t u8(size_t offset) const
    {
        need(offset, 1);
        return bytes_[offset];
    }
    std::uint16_t u16(size_t offset) const
    {
        need(offset, 2);
        return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
    }
    std::uint32_t u32(size_t offset) const
    {
        need(offset, 4);
        return get32(bytes_.data() + offset);
    }
    std::int32_t i32(size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
    std::int16_t i16(size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
    float f32(size_t offset) const
    {
        std::uint32_t bits = u32(offset);
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
    std::span<const std::uint8_t> slice(size_t offset, size_t count) const
    {
        need(offset, count);
        return bytes_.subspan(offset, count);
    }

private:
    std::span<const std::uint8_t> bytes_;
    const char* what_;
};

}  // namespace LittleEndian
