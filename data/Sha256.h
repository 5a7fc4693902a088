#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 of a byte stream, for the checksums of backup manifests.
class Sha256 {
public:
    Sha256();
    void update(const void* data, size_t size);
    // The digest in lower-case hexadecimal; the object is spent afterwards.
    std::string hex();
    // The digest of a whole file; empty when it cannot be read.
    static std::string ofFile(const std::string& path);

private:
    void block(const unsigned char* p);

    std::uint32_t state_[8];
    unsigned char buffer_[64];
    size_t used_ = 0;
    std::uint64_t length_ = 0;
};
