#pragma once
#include <string>
#include <vector>

// The character encoding of a CSV file being imported: UTF-8, which every
// field must be, or Latin-1 (ISO 8859-1), which is converted to UTF-8.
// Nothing that is not UTF-8 reaches a table.
class CsvTextEncoding {
public:
    // "utf-8" or "latin1" and their usual spellings, in any case; false
    // (and unchanged) for any other name.
    bool choose(const std::string& name);

    // Makes every field of row UTF-8. Empty when the row passes; otherwise
    // the reason it is refused, naming the field by its header.
    std::string decode(std::vector<std::string>& row, const std::vector<std::string>& header) const;

    // Offset of the first byte of text that does not begin a well-formed
    // UTF-8 sequence (overlong forms, surrogates and values above U+10FFFF
    // are not); npos when all of it is well formed.
    static size_t invalidAt(const std::string& text);
    static std::string fromLatin1(const std::string& text);

private:
    bool latin1_ = false;
};
