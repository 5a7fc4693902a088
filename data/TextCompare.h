#pragma once
#include <string>

// Comparisons of UTF-8 text without regard to letter case.
class TextCompare {
public:
    static bool equalNoCase(const std::string& a, const std::string& b);
    static bool startsWithNoCase(const std::string& text, const std::string& prefix);
    // Lower case of every letter (see UnicodeText for the coverage).
    static std::u32string folded(const std::string& text);
};
