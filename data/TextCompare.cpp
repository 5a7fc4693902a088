#include "TextCompare.h"

#include <clocale>
#include <cwctype>

namespace {

std::u32string decode(const std::string& text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        int extra = byte < 0x80 ? 0 : byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
        char32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
        size_t j = i + 1;
        for (int k = 0; k < extra && j < text.size(); ++k, ++j)
            code = (code << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
        out.push_back(code);
        i = j;
    }
    return out;
}

locale_t utf8Locale()
{
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

} // namespace

std::u32string TextCompare::folded(const std::string& text)
{
    std::u32string out = decode(text);
    locale_t locale = utf8Locale();
    for (char32_t& c : out)
        c = locale ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale))
                   : (c < 0x80 ? static_cast<char32_t>(std::tolower(static_cast<int>(c))) : c);
    return out;
}

bool TextCompare::equalNoCase(const std::string& a, const std::string& b)
{
    return folded(a) == folded(b);
}

bool TextCompare::startsWithNoCase(const std::string& text, const std::string& prefix)
{
    std::u32string whole = folded(text);
    std::u32string start = folded(prefix);
    return whole.compare(0, start.size(), start) == 0 && whole.size() >= start.size();
}
