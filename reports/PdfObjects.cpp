#include "PdfObjects.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <zlib.h>

namespace {
constexpr size_t FlushAt = 1 << 20;
}  // namespace

PdfObjects::PdfObjects(Sink sink) : sink_(std::move(sink))
{
    buffer_.reserve(FlushAt + (1 << 16));
    // The binary comment tells transfer programs the file is not text.
    put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

int PdfObjects::reserve()
{
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size());
}

bool PdfObjects::put(std::string_view bytes)
{
    buffer_.append(bytes);
    return buffer_.size() < FlushAt || flush();
}

bool PdfObjects::flush()
{
    if (ok_ && !buffer_.empty())
        ok_ = sink_(buffer_);
    written_ += buffer_.size();
    buffer_.clear();
    return ok_;
}

bool PdfObjects::begin(int number)
{
    offsets_.at(static_cast<size_t>(number - 1)) = written_ + buffer_.size();
    return put(std::to_string(number) + " 0 obj\n");
}

bool PdfObjects::object(int number, std::string_view body)
{
    begin(number);
    put(body);
    return put("\nendobj\n") && ok_;
}

bool PdfObjects::stream(int number, std::string_view dictionary, std::string_view data, bool compress)
{
    std::string_view content = data;
    if (compress) {
        uLongf size = compressBound(static_cast<uLong>(data.size()));
        packed_.resize(size);
        // The fastest level: a report's pages are mostly glyph numbers, and
        // higher levels buy a few per cent of size for several times the time.
        if (compress2(reinterpret_cast<Bytef*>(packed_.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                      static_cast<uLong>(data.size()), Z_BEST_SPEED) != Z_OK)
            return ok_ = false;
        content = std::string_view(packed_.data(), size);
    }
    begin(number);
    put("<<");
    put(dictionary);
    put(compress ? " /Filter /FlateDecode /Length " : " /Length ");
    put(std::to_string(content.size()));
    put(" >>\nstream\n");
    put(content);
    return put("\nendstream\nendobj\n") && ok_;
}

bool PdfObjects::finish(int catalog, int info)
{
    const std::uint64_t table = written_ + buffer_.size();
    put("xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n");
    char entry[32];
    for (std::uint64_t offset : offsets_) {
        std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(offset));
        put(entry);
    }
    put("trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " + std::to_string(catalog) +
        " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n");
    return flush();
}

void appendPdfNumber(std::string& out, double value)
{
    long long thousandths = std::isfinite(value) ? std::llround(value * 1000) : 0;
    if (thousandths < 0) {
        out += '-';
        thousandths = -thousandths;
    }
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, thousandths / 1000).ptr;
    if (long long f = thousandths % 1000) {
        *end++ = '.';
        *end++ = static_cast<char>('0' + f / 100);
        if (f % 100) {
            *end++ = static_cast<char>('0' + f / 10 % 10);
            if (f % 10)
                *end++ = static_cast<char>('0' + f % 10);
        }
    }
    out.append(digits, end);
}

std::string pdfNumber(double value)
{
    std::string out;
    appendPdfNumber(out, value);
    return out;
}
