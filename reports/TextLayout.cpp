#include "TextLayout.h"

#include <algorithm>

namespace {

std::vector<std::u16string> paragraphs(const std::u16string& text)
{
    std::vector<std::u16string> out(1);
    for (char16_t c : text) {
        if (c == u'\r')
            out.emplace_back();
        else if (c != u'\n')
            out.back() += c;
    }
    return out;
}

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
    const auto add = [&](std::u16string line, std::vector<double> advances) {
        double lineWidth = 0;
        for (double a : advances)
            lineWidth += a;
        layout.widest = std::max(layout.widest, lineWidth);
        layout.lines.push_back(std::move(line));
        layout.advances.push_back(std::move(advances));
    };
    Breaker breaker(font, measurer, width, wordWrap);
    for (std::u16string& p : paragraphs(text)) {
        std::vector<double> advances = measurer.advances(font, p);
        double whole = 0;
        for (double a : advances)
            whole += a;
        // A paragraph that fits is one line: every part of it fits too.
        if (autoSize || whole <= width + 1e-9) {
            add(std::move(p), std::move(advances));
            continue;
        }
        std::vector<std::u16string> lines;
        breaker.paragraph(p, lines);
        for (std::u16string& line : lines) {
            std::vector<double> lineAdvances = measurer.advances(font, line);
            add(std::move(line), std::move(lineAdvances));
        }
    }
    return layout;
}
