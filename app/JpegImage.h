#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

// A JPEG file that cannot be decoded (bad header, corrupt or truncated data,
// a colour model with no RGB conversion, a picture too large to hold).
class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A decoded JPEG picture as 8-bit RGB, rows top-down, 3 bytes a pixel.
// Decoding calls the JPEG library directly; its errors and its warnings
// about corrupt data both end the decoding with a JpegError.
class JpegImage {
public:
    // Decodes the bytes of a whole JPEG file. Throws JpegError.
    static JpegImage decode(const unsigned char* data, std::size_t size);
    // Reads and decodes a file. Throws JpegError.
    static JpegImage load(const std::string& path);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<unsigned char>& rgb() const { return rgb_; }

    // Pictures larger than this many pixels are refused as corrupt.
    static constexpr long long maxPixels = 64LL * 1024 * 1024;

private:
    friend class JpegDecoder;
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> rgb_;
};
