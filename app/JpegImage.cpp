#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace {
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr info, int level)
{
    // Level -1 is a warning about corrupt data: the picture would be drawn
    // with made-up pixels, so it is refused instead. Trace messages are dropped.
    if (level < 0)
        errorExit(info);
}
}  // namespace

// Owns one decompression object; its destructor releases the library's
// memory whether decoding finished or failed.
class JpegDecoder {
public:
    JpegDecoder()
    {
        info_.err = jpeg_std_error(&err_.pub);
        err_.pub.error_exit = errorExit;
        err_.pub.emit_message = emitMessage;
        err_.message[0] = '\0';
    }
    ~JpegDecoder()
    {
        if (created_)
            jpeg_destroy_decompress(&info_);
    }
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    std::jmp_buf& jump() { return err_.jump; }
    const char* message() const { return err_.message; }

    // Runs the library; a failure longjmps back to the caller's setjmp. No
    // object with a destructor lives in this frame, so skipping it is safe.
    void run(const unsigned char* data, std::size_t size, JpegImage& image)
    {
        jpeg_create_decompress(&info_);
        created_ = true;
        jpeg_mem_src(&info_, data, static_cast<unsigned long>(size));
        jpeg_read_header(&info_, TRUE);
        info_.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info_);
        if (info_.output_components != 3 ||
            (long long)info_.output_width * info_.output_height > JpegImage::maxPixels) {
            std::snprintf(err_.message, sizeof err_.message, "Unsupported picture size or colour model");
            std::longjmp(err_.jump, 1);
        }
        image.width_ = int(info_.output_width);
        image.height_ = int(info_.output_height);
        const std::size_t stride = std::size_t(image.width_) * 3;
        image.rgb_.assign(stride * std::size_t(image.height_), 0);
        while (info_.output_scanline < info_.output_height) {
            JSAMPROW row = image.rgb_.data() + stride * info_.output_scanline;
            jpeg_read_scanlines(&info_, &row, 1);
        }
        jpeg_finish_decompress(&info_);
    }

private:
    jpeg_decompress_struct info_{};
    ErrorManager err_{};
    volatile bool created_ = false;
};

JpegImage JpegImage::decode(const unsigned char* data, std::size_t size)
{
    if (!data || size == 0)
        throw JpegError("Empty JPEG data");
    JpegImage image;
    JpegDecoder decoder;
    if (setjmp(decoder.jump()) != 0)
        throw JpegError(std::string("Cannot decode JPEG picture: ") + decoder.message());
    decoder.run(data, size, image);
    return image;
}

JpegImage JpegImage::load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw JpegError("Cannot open picture file " + path);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decode(bytes.data(), bytes.size());
}
