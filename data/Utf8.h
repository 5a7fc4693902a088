#pragma once
#include <string>

// Character-wise helpers for UTF-8 text: sizes count characters, not bytes.
class Utf8 {
public:
    static size_t length(const std::string& text);
    // The first count characters of text (all of it when shorter).
    static std::string left(const std::string& text, size_t count);
};
