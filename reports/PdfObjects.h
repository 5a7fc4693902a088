#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Writes a PDF file object by object: numbers are handed out first (a page
// can name its fonts before they are written), each object is written once
// in any order, and finish() adds the cross-reference table and trailer.
// The bytes go to a sink in large pieces; a sink that fails stops the
// writing and every later call returns false.
class PdfObjects {
public:
    using Sink = std::function<bool(std::string_view)>;
    explicit PdfObjects(Sink sink);

    int reserve();
    // `body` is a dictionary, array or other value, without "obj".
    bool object(int number, std::string_view body);
    // A stream: `dictionary` holds its entries without the brackets and
    // without /Length; deflated unless `compress` is false.
    bool stream(int number, std::string_view dictionary, std::string_view data, bool compress = true);
    bool finish(int catalog, int info);

private:
    bool put(std::string_view bytes);
    bool begin(int number);
    bool flush();

    Sink sink_;
    std::string buffer_;
    std::uint64_t written_ = 0;  // bytes before buffer_
    std::vector<std::uint64_t> offsets_;
    std::string packed_;
    bool ok_ = true;
};

// A number with at most three decimals and no trailing zeros.
std::string pdfNumber(double value);
void appendPdfNumber(std::string& out, double value);
