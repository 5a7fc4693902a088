#include "CaseVariants.h"

#include "UnicodeText.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Cased letters all lie below U+20000 (the last ones are in the
// Supplementary Multilingual Plane), so one pass over that range finds every
// character whose lower case differs from itself.
constexpr char32_t casedLimit = 0x20000;

using FoldMap = std::unordered_map<char32_t, std::vector<char32_t>>;

const FoldMap& othersByFold()
{
    static const FoldMap map = [] {
        FoldMap out;
        for (char32_t c = 0; c < casedLimit; ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            char32_t lower = UnicodeText::toLower(c);
            if (lower != c)
                out[lower].push_back(c);
        }
        return out;
    }();
    return map;
}

char32_t asciiLower(char32_t c)
{
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

}  // namespace

std::vector<char32_t> CaseVariants::of(char32_t c)
{
    char32_t lower = UnicodeText::toLower(c);
    std::vector<char32_t> out{lower};
    auto found = othersByFold().find(lower);
    if (found != othersByFold().end())
        out.insert(out.end(), found->second.begin(), found->second.end());
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> CaseVariants::spellings(const std::string& prefix, bool asciiFolded, size_t limit,
                                                 size_t& covered)
{
    covered = 0;
    std::vector<std::string> out;
    for (char32_t c : UnicodeText::fromUtf8(prefix)) {
        std::vector<char32_t> variants = of(c);
        if (asciiFolded) {
            for (char32_t& variant : variants)
                variant = asciiLower(variant);
            std::sort(variants.begin(), variants.end());
            variants.erase(std::unique(variants.begin(), variants.end()), variants.end());
        }
        size_t count = std::max<size_t>(out.size(), 1) * variants.size();
        if (count > limit)
            break;
        if (variants.size() == 1 && !out.empty()) {
            // One spelling: each text grows in place, so a long prefix costs
            // its length, not its length squared.
            std::string character = UnicodeText::toUtf8(variants.front());
            for (std::string& start : out)
                start += character;
            ++covered;
            continue;
        }
        std::vector<std::string> longer;
        longer.reserve(count);
        for (const std::string& start : out.empty() ? std::vector<std::string>{std::string()} : out)
            for (char32_t variant : variants)
                longer.push_back(start + UnicodeText::toUtf8(variant));
        out = std::move(longer);
        ++covered;
    }
    return out;
}
