#include "TextLayout.h"

#include <algorithm>

namespace {

std::vector<std::u16string> words(const std::u16string& line)
{
    std::vector<std::u16string> out;
    size_t at = 0;
    while (at <= line.size()) {
        const size_t space = line.find(u' ', at);
        const size_t end = space == std::u16string::npos ? line.size() : space;
        out.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

class Breaker {
public:
    Breaker(const ReportFont& font, const TextMeasurer& m, double width, bool wrap)
        : font_(font), measurer_(m), width_(width), wrap_(wrap)
    {
    }

    // Returns false when the paragraph was cut short for want of word wrap.
    bool paragraph(const std::u16string& text, std::vector<std::u16string>& out)
    {
        std::u16string line;
        bool started = false;
        for (const std::u16string& word : words(text)) {
            const std::u16string candidate = started ? line + u' ' + word : word;
            if (fits(candidate)) {
                line = candidate;
                started = true;
                continue;
            }
            if (started) {
                out.push_back(line);
                if (!wrap_)
                    return false;
            }
            line = word;
            started = true;
            while (!fits(line) && line.size() > 1) {
                const size_t n = cut(line);
                if (n == line.size())
                    break;
                out.push_back(line.substr(0, n));
                if (!wrap_)
                    return false;
                line.erase(0, n);
            }
        }
        out.push_back(line);
        return true;
    }

private:
    // How many units of a too-wide word fill a line: at least one character,
    // and never half of a surrogate pair.
    size_t cut(const std::u16string& line) const
    {
        size_t n = 1;
        while (n < line.size() && fits(line.substr(0, n + 1)))
            ++n;
        const bool splitsPair = n < line.size() && isHighSurrogate(line[n - 1]) && isLowSurrogate(line[n]);
        if (splitsPair)
            n = n == 1 ? 2 : n - 1;
        return n;
    }
    static bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
    static bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

    bool fits(const std::u16string& s) const { return measurer_.width(font_, s) <= width_ + 1e-9; }

    const ReportFont& font_;
    const TextMeasurer& measurer_;
    double width_;
    bool wrap_;
};

}  // namespace

TextLayout TextLayout::make(const std::u16string& text, const ReportFont& font, const TextMeasurer& measurer,
                            double width, bool autoSize, bool wordWrap)
{
    TextLayout layout;
    layout.assign(text, font, measurer, width, autoSize, wordWrap);
    return layout;
}

void TextLayout::assign(std::u16string_view text, const ReportFont& font, const TextMeasurer& measurer, double width,
                        bool autoSize, bool wordWrap)
{
    size_t count = 0;
    widest = 0;
    placedAt.clear();
    // The next line's slot; the strings and vectors of earlier texts keep their room.
    const auto slot = [&]() -> size_t {
        if (count == lines.size()) {
            lines.emplace_back();
            advances.emplace_back();
            widths.emplace_back();
        }
        return count++;
    };
    const auto measured = [&](size_t at) {
        double lineWidth = 0;
        for (double a : advances[at])
            lineWidth += a;
        return lineWidth;
    };
    Breaker breaker(font, measurer, width, wordWrap);
    std::u16string kept;  // a paragraph without its line feeds
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(u'\r', start), text.size());
        std::u16string_view p = text.substr(start, end - start);
        start = end + 1;
        if (p.find(u'\n') != std::u16string_view::npos) {
            kept.clear();
            for (char16_t c : p)
                if (c != u'\n')
                    kept += c;
            p = kept;
        }
        const size_t at = slot();
        measurer.measure(font, p, advances[at]);
        const double whole = measured(at);
        // A paragraph that fits is one line: every part of it fits too.
        if (autoSize || whole <= width + 1e-9) {
            lines[at].assign(p);
            widths[at] = whole;
            widest = std::max(widest, whole);
            continue;
        }
        --count;
        std::vector<std::u16string> broken;
        breaker.paragraph(std::u16string(p), broken);
        for (const std::u16string& line : broken) {
            const size_t next = slot();
            lines[next] = line;
            measurer.measure(font, line, advances[next]);
            widths[next] = measured(next);
            widest = std::max(widest, widths[next]);
        }
    }
    lines.resize(count);
    advances.resize(count);
    widths.resize(count);
}
