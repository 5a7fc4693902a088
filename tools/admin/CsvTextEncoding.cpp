#include "CsvTextEncoding.h"

#include "UnicodeText.h"

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
    size_t valid = UnicodeText::validUtf8Length(text);
    return valid == text.size() ? std::string::npos : valid;
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
