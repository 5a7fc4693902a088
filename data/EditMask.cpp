#include "EditMask.h"

#include <algorithm>

#include "EDBEditError.h"
#include "RegionalSettings.h"
#include "UnicodeText.h"

namespace {

constexpr char32_t sectionSeparator = U';';

bool isMaskKind(char32_t c)
{
    switch (c) {
    case U'0':
    case U'9':
    case U'#':
    case U'L':
    case U'l':
    case U'A':
    case U'a':
    case U'C':
    case U'c':
        return true;
    default:
        return false;
    }
}

char32_t separatorChar(char c)
{
    return static_cast<unsigned char>(c);
}

}  // namespace

EditMask::EditMask(const std::string& text) : text_(text)
{
    const std::u32string mask = UnicodeText::fromUtf8(text);
    parseSections(mask);
    parsePattern(mask.substr(0, patternLength_));
    indexPositions();
}

// Where the next and previous mask position and the next literal lie, for
// every position: each key press then costs the same on any width.
void EditMask::indexPositions()
{
    const int n = width();
    nextMask_.assign(static_cast<size_t>(n) + 1, n);
    previousMask_.assign(static_cast<size_t>(n) + 1, -1);
    nextLiteral_.assign(static_cast<size_t>(n) + 1, -1);
    for (int i = n - 1; i >= 0; --i) {
        nextMask_[i] = isLiteral(i) ? nextMask_[i + 1] : i;
        nextLiteral_[i] = i + 1 < n && isLiteral(i + 1) ? i + 1 : nextLiteral_[i + 1];
    }
    for (int i = 1; i <= n; ++i)
        previousMask_[i] = isLiteral(i - 1) ? previousMask_[i - 1] : i - 1;
}

// Only the last four characters can separate sections; any other ";" is a
// literal of the pattern.
void EditMask::parseSections(const std::u32string& mask)
{
    const size_t n = mask.size();
    patternLength_ = n;
    if (n <= 3)
        return;
    for (size_t i = n - 4; i < n; ++i) {
        if (mask[i] == sectionSeparator) {
            patternLength_ = i;
            break;
        }
    }
    if (patternLength_ < n && patternLength_ + 1 < n)
        saveLiterals_ = mask[patternLength_ + 1] != U'0';
    if (mask[n - 2] == sectionSeparator && (mask[n - 3] == sectionSeparator || mask[n - 4] == sectionSeparator))
        blank_ = mask[n - 1];
}

void EditMask::parsePattern(const std::u32string& pattern)
{
    const RegionalSettings& regional = RegionalSettings::current();
    Case letterCase = Case::None;
    bool afterLower = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        const bool wasAfterLower = afterLower;
        afterLower = false;
        Position position;
        position.letterCase = letterCase;
        if (c == U'\\') {
            if (++i == pattern.size())
                break;
            position.literal = pattern[i];
        } else if (c == U'!') {
            reverse_ = true;
            continue;
        } else if (c == U'>') {
            letterCase = wasAfterLower ? Case::None : Case::Upper;
            continue;
        } else if (c == U'<') {
            letterCase = Case::Lower;
            afterLower = true;
            continue;
        } else if (isMaskKind(c)) {
            position.kind = c;
        } else if (c == U'/') {
            position.literal = separatorChar(regional.dateSeparator);
        } else if (c == U':') {
            position.literal = separatorChar(regional.timeSeparator);
        } else {
            position.literal = c;
        }
        positions_.push_back(position);
    }
}

bool EditMask::accepts(int pos, char32_t c) const
{
    if (UnicodeText::isControl(c))
        return false;
    switch (positions_[pos].kind) {
    case U'0':
    case U'9':
        return UnicodeText::isDigit(c);
    case U'#':
        return UnicodeText::isDigit(c) || c == U' ' || c == U'+' || c == U'-';
    case U'L':
    case U'l':
        return UnicodeText::isLetter(c);
    case U'A':
    case U'a':
        return UnicodeText::isLetter(c) || UnicodeText::isDigit(c);
    case U'C':
    case U'c':
        return true;
    default:
        return false;
    }
}

char32_t EditMask::convertCase(int pos, char32_t c) const
{
    switch (positions_[pos].letterCase) {
    case Case::Upper:
        return UnicodeText::toUpper(c);
    case Case::Lower:
        return UnicodeText::toLower(c);
    case Case::None:
        break;
    }
    return c;
}

bool EditMask::isRequired(int pos) const
{
    const char32_t kind = positions_[pos].kind;
    return kind == U'0' || kind == U'L' || kind == U'A' || kind == U'C';
}

int EditMask::nextMaskPosition(int pos) const
{
    return pos >= width() ? width() : nextMask_[pos < 0 ? 0 : pos];
}

int EditMask::previousMaskPosition(int pos) const
{
    return pos <= 0 ? -1 : previousMask_[pos > width() ? width() : pos];
}

int EditMask::nextLiteral(int pos) const
{
    if (pos >= width())
        return -1;
    if (pos < -1)
        pos = -1;
    return pos == -1 ? (width() > 0 && isLiteral(0) ? 0 : nextLiteral_[0]) : nextLiteral_[pos];
}

int EditMask::maskCount(int from, int to) const
{
    int count = 0;
    for (int i = from; i < to; ++i)
        count += isLiteral(i) ? 0 : 1;
    return count;
}

std::u32string EditMask::apply(const std::u32string& value, char32_t blank) const
{
    if (empty())
        return value;
    return saveLiterals_ ? alignByLiterals(value, blank) : fillPositions(value, blank);
}

std::u32string EditMask::alignByLiterals(const std::u32string& value, char32_t blank) const
{
    return alignByLiteralsIn(value, blank);
}

// Text: a UTF-32 string, or a byte string when the value and the literals
// are ASCII (each byte a character).
template <class Text>
Text EditMask::alignByLiteralsIn(const Text& value, typename Text::value_type blank) const
{
    using Char = typename Text::value_type;
    // A segment is cut or padded to its width: keeping its first characters
    // and padding after them, or the reverse in reverse mode.
    auto fit = [&](Text segment, int count) {
        const size_t size = static_cast<size_t>(count);
        if (segment.size() > size)
            segment = reverse_ ? segment.substr(segment.size() - size) : segment.substr(0, size);
        const Text padding(size - segment.size(), blank);
        return reverse_ ? padding + segment : segment + padding;
    };
    Text source = value;
    Text out;
    size_t from = 0;
    int segmentStart = 0;
    for (int pos = 0; pos < width(); ++pos) {
        if (!isLiteral(pos))
            continue;
        const auto literal = static_cast<Char>(positions_[pos].literal);
        size_t at = source.find(literal, from);
        if (at == Text::npos) {
            source += literal;
            at = source.size() - 1;
        }
        out += fit(source.substr(from, at - from), maskCount(segmentStart, pos));
        out += literal;
        from = at + 1;
        segmentStart = pos + 1;
    }
    out += fit(source.substr(from), maskCount(segmentStart, width()));
    for (int pos = 0; pos < width(); ++pos) {
        if (!isLiteral(pos) && out[pos] == Char(' '))
            out[pos] = blank;
    }
    return out;
}

std::u32string EditMask::fillPositions(const std::u32string& value, char32_t blank) const
{
    if (reverse_) {
        std::u32string out(positions_.size(), blank);
        size_t left = value.size();
        for (int pos = width() - 1; pos >= 0; --pos) {
            if (isLiteral(pos))
                out[pos] = positions_[pos].literal;
            else if (left > 0)
                out[pos] = value[--left];
        }
        return out;
    }
    std::u32string out;
    size_t next = 0;
    for (int pos = 0; pos < width(); ++pos) {
        if (isLiteral(pos))
            out += positions_[pos].literal;
        else
            out += next < value.size() ? value[next++] : blank;
    }
    return out + value.substr(next);
}

std::u32string EditMask::strip(const std::u32string& editText) const
{
    if (empty())
        return editText;
    std::u32string out;
    for (size_t i = 0; i < editText.size(); ++i) {
        if (i >= positions_.size() || !positions_[i].isLiteral())
            out += editText[i];
    }
    if (reverse_) {
        const size_t first = out.find_first_not_of(blank_);
        out.erase(0, first == std::u32string::npos ? out.size() : first);
    } else {
        const size_t last = out.find_last_not_of(blank_);
        out.erase(last == std::u32string::npos ? 0 : last + 1);
    }
    for (char32_t& c : out) {
        if (c == blank_)
            c = U' ';
    }
    return out;
}

std::u32string EditMask::read(const std::u32string& editText) const
{
    if (empty())
        return editText;
    const std::u32string stripped = strip(editText);
    return saveLiterals_ ? fillPositions(stripped, U' ') : stripped;
}

int EditMask::firstInvalidPosition(const std::u32string& editText) const
{
    for (int pos = 0; pos < width(); ++pos) {
        if (!isRequired(pos))
            continue;
        const char32_t c = static_cast<size_t>(pos) < editText.size() ? editText[pos] : blank_;
        if (c == blank_ || (c == U' ' && positions_[pos].kind != U'C'))
            return pos;
    }
    return -1;
}

void EditMask::validate(const std::u32string& editText) const
{
    const int pos = firstInvalidPosition(editText);
    if (pos >= 0)
        throw EDBEditError(invalidInputMessage, pos);
}

std::string EditMask::editTextFor(const std::string& value) const
{
    return UnicodeText::toUtf8(apply(UnicodeText::fromUtf8(value), blank_));
}

std::string EditMask::textOf(const std::string& editText) const
{
    return UnicodeText::toUtf8(read(UnicodeText::fromUtf8(editText)));
}

std::string EditMask::displayText(const std::string& value) const
{
    // Every masked value a report prints comes through here: ASCII aligns
    // byte by byte, without the round trip through UTF-32.
    const auto ascii = [](char32_t c) { return c < 0x80; };
    if (!empty() && saveLiterals_ &&
        std::all_of(value.begin(), value.end(), [&](char c) { return ascii(static_cast<unsigned char>(c)); }) &&
        std::all_of(positions_.begin(), positions_.end(), [&](const Position& p) { return ascii(p.literal); }))
        return alignByLiteralsIn(value, ' ');
    return UnicodeText::toUtf8(format(UnicodeText::fromUtf8(value)));
}

bool EditMask::isBlank(const std::u32string& editText) const
{
    if (empty())
        return editText.empty();
    for (size_t pos = 0; pos < editText.size() && pos < positions_.size(); ++pos)
        if (!positions_[pos].isLiteral() && editText[pos] != blank_ && editText[pos] != U' ')
            return false;
    return true;
}

bool EditMask::isBlankValue(const std::string& value) const
{
    return isBlank(format(UnicodeText::fromUtf8(value)));
}
