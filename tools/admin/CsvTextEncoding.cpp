#include "CsvTextEncoding.h"

#include <strings.h>

#include <cstdio>

bool CsvTextEncoding::choose(const std::string& name)
{
    for (const char* utf8 : {"utf-8", "utf8"})
        if (strcasecmp(name.c_str(), utf8) == 0) {
            latin1_ = false;
            return true;
        }
    for (const char* latin1 : {"latin1", "latin-1", "iso-8859-1", "iso8859-1"})
        if (strcasecmp(name.c_str(), latin1) == 0) {
            latin1_ = true;
            return true;
        }
    return false;
}

std::string CsvTextEncoding::decode(std::vector<std::string>& row, const std::vector<std::string>& header) const
{
    for (size_t i = 0; i < row.size(); ++i) {
        if (latin1_) {
            row[i] = fromLatin1(row[i]);
            continue;
        }
        size_t at = invalidAt(row[i]);
        if (at == std::string::npos)
            continue;
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(row[i][at]));
        return (i < header.size() ? header[i] : "field " + std::to_string(i + 1)) + " is not UTF-8 text (byte " + byte +
               " at byte " + std::to_string(at + 1) + "); a Latin-1 file is read with --encoding latin1";
    }
    return std::string();
}

size_t CsvTextEncoding::invalidAt(const std::string& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    size_t size = text.size();
    for (size_t i = 0; i < size;) {
        unsigned char lead = bytes[i];
        size_t length = lead < 0x80                    ? 1
                        : lead >= 0xC2 && lead <= 0xDF ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
        if (length == 0 || i + length > size)
            return i;
        // The second byte's range rules out overlong forms, surrogates and
        // values above U+10FFFF.
        unsigned char low = 0x80, high = 0xBF;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
        else if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = bytes[i + k];
            if (k == 1 ? next < low || next > high : next < 0x80 || next > 0xBF)
                return i;
        }
        i += length;
    }
    return std::string::npos;
}

std::string CsvTextEncoding::fromLatin1(const std::string& text)
{
    std::string converted;
    converted.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            converted += c;
        } else {
            converted += static_cast<char>(0xC0 | (byte >> 6));
            converted += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return converted;
}
