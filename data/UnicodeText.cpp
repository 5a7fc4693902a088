#include "UnicodeText.h"

#include <clocale>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

namespace {

// The process's own locale stays "C"; classification uses a locale object of
// its own, created once and kept for the life of the program.
locale_t unicodeLocale()
{
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (!l)
            l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
        return l;
    }();
    return locale;
}

bool isScalar(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Latin-1 fallback: letters are A-Z, a-z, U+00AA, U+00B5, U+00BA and
// U+00C0..U+00FF except the multiplication and division signs.
bool latin1Letter(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'))
        return true;
    if (c == 0xAA || c == 0xB5 || c == 0xBA)
        return true;
    return c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7;
}

char32_t latin1Upper(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    return c;
}

char32_t latin1Lower(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    return c;
}

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
int sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Allowed range of the second byte, which rules out overlong forms,
// surrogates and values above U+10FFFF.
bool secondByteValid(unsigned char lead, unsigned char second)
{
    unsigned char low = 0x80, high = 0xBF;
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xF4)
        high = 0x8F;
    return second >= low && second <= high;
}

// Decodes the character starting at text[i] into value; returns how many
// bytes it takes. A broken sequence is one U+FFFD as far as it went (its
// maximal valid prefix), and decoding resumes at the offending byte.
size_t decodeAt(const std::string& text, size_t i, char32_t& value)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = sequenceLength(lead);
    if (length <= 1) {
        value = length == 1 ? lead : UnicodeText::replacement;
        return 1;
    }
    value = lead & (0xFF >> (length + 1));
    int taken = 1;
    for (; taken < length && i + taken < text.size(); ++taken) {
        const auto next = static_cast<unsigned char>(text[i + taken]);
        const bool valid = taken == 1 ? secondByteValid(lead, next) : (next & 0xC0) == 0x80;
        if (!valid)
            break;
        value = (value << 6) | (next & 0x3F);
    }
    if (taken != length)
        value = UnicodeText::replacement;
    return static_cast<size_t>(taken);
}

}  // namespace

std::u32string UnicodeText::fromUtf8(const std::string& text)
{
    std::u32string out;
    out.reserve(text.size());
    char32_t value = 0;
    for (size_t i = 0; i < text.size();) {
        i += decodeAt(text, i, value);
        out += value;
    }
    return out;
}

size_t UnicodeText::validUtf8Length(const std::string& text)
{
    static const std::string encodedReplacement = "\xEF\xBF\xBD";
    char32_t value = 0;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t taken = decodeAt(text, i, value);
        if (value == replacement && text.compare(i, taken, encodedReplacement) != 0)
            return i;
        i += taken;
    }
    return text.size();
}

std::string UnicodeText::toUtf8(char32_t c)
{
    if (!isScalar(c))
        c = replacement;
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string UnicodeText::toUtf8(const std::u32string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text)
        out += toUtf8(c);
    return out;
}

bool UnicodeText::isLetter(char32_t c)
{
    if (!isScalar(c) || isControl(c) || isDigit(c))
        return false;
    if (locale_t locale = unicodeLocale())
        return iswalpha_l(static_cast<wint_t>(c), locale) != 0;
    return latin1Letter(c);
}

char32_t UnicodeText::toUpper(char32_t c)
{
    if (!isLetter(c))
        return c;
    if (locale_t locale = unicodeLocale())
        return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
    return latin1Upper(c);
}

char32_t UnicodeText::toLower(char32_t c)
{
    if (!isLetter(c))
        return c;
    if (locale_t locale = unicodeLocale())
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
    return latin1Lower(c);
}

std::string UnicodeText::leftUtf8(const std::string& text, size_t count)
{
    // Characters counted as fromUtf8 reads them, so that a run of stray
    // bytes counts one character per byte and never slips past the limit.
    size_t i = 0;
    char32_t value = 0;
    for (size_t seen = 0; i < text.size() && seen < count; ++seen)
        i += decodeAt(text, i, value);
    return text.substr(0, i);
}
