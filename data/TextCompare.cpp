#include "TextCompare.h"

#include "UnicodeText.h"

std::u32string TextCompare::folded(const std::string& text)
{
    std::u32string out = UnicodeText::fromUtf8(text);
    for (char32_t& c : out)
        c = UnicodeText::toLower(c);
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
    return whole.size() >= start.size() && whole.compare(0, start.size(), start) == 0;
}
