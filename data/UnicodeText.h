#pragma once
#include <string>

// UTF-8 conversion and the character classification the masks need, without
// Qt. Letters and case follow the C library's Unicode tables (the "C.UTF-8"
// locale, present on every Debian system), so accented Latin, Greek and
// Cyrillic letters count as letters. When that locale is missing, a built-in
// table covers ASCII and the Latin-1 Supplement. Digits are only "0" to "9".
class UnicodeText {
public:
    static constexpr char32_t replacement = 0xFFFD;

    // Decodes UTF-8. Never fails: every invalid or truncated sequence,
    // overlong form, surrogate or value above U+10FFFF becomes one U+FFFD.
    static std::u32string fromUtf8(const std::string& text);
    // Encodes to UTF-8; a value that is no Unicode scalar becomes U+FFFD.
    static std::string toUtf8(const std::u32string& text);
    static std::string toUtf8(char32_t c);
    // The first count characters of a UTF-8 text (all of it when shorter),
    // characters counted as fromUtf8 counts them: each stray or broken byte
    // sequence is one. The one cutter for every text limit.
    static std::string leftUtf8(const std::string& text, size_t count);
    // Bytes at the start of text that are valid UTF-8: text.size() when all
    // of it is, else where the first invalid sequence starts.
    static size_t validUtf8Length(const std::string& text);

    static bool isLetter(char32_t c);
    static bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
    // C0 and C1 control characters and DEL: never typed into a text.
    static bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }
    // Case mapping of letters; anything else comes back unchanged.
    static char32_t toUpper(char32_t c);
    static char32_t toLower(char32_t c);
};
