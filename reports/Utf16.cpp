#include "Utf16.h"

#include "UnicodeText.h"

#include <algorithm>

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    utf8ToUtf16(text, out);
    return out;
}

void utf8ToUtf16(std::string_view text, std::u16string& out)
{
    out.clear();
    // Most texts are ASCII, which widens unit by unit.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out.assign(text.begin(), text.end());
        return;
    }
    out.reserve(text.size());
    for (char32_t cp : UnicodeText::fromUtf8(std::string(text))) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
}

std::string utf16ToUtf8(std::u16string_view text)
{
    std::u32string points;
    points.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = UnicodeText::replacement;
        }
        points += cp;
    }
    return UnicodeText::toUtf8(points);
}
