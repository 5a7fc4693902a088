#include "TrueTypeSubset.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

std::uint32_t u16(const std::string& b, size_t at)
{
    return at + 2 <= b.size() ? (std::uint32_t(std::uint8_t(b[at])) << 8) | std::uint8_t(b[at + 1]) : 0;
}

int s16(const std::string& b, size_t at)
{
    return static_cast<std::int16_t>(u16(b, at));
}

std::uint32_t u32(const std::string& b, size_t at)
{
    return (u16(b, at) << 16) | u16(b, at + 2);
}

void put16(std::string& b, std::uint32_t v)
{
    b += char(v >> 8);
    b += char(v);
}

void put32(std::string& b, std::uint32_t v)
{
    put16(b, v >> 16);
    put16(b, v & 0xFFFF);
}

std::uint32_t checksum(const std::string& table)
{
    std::uint32_t sum = 0;
    for (size_t i = 0; i < table.size(); i += 4) {
        std::uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < table.size() ? std::uint8_t(table[i + k]) : 0);
        sum += word;
    }
    return sum;
}

// Where each glyph's outline lies in glyf, from loca in either format.
std::vector<std::uint32_t> locations(const std::string& loca, bool longFormat, size_t glyphs)
{
    std::vector<std::uint32_t> at(glyphs + 1, 0);
    for (size_t g = 0; g <= glyphs; ++g)
        at[g] = longFormat ? u32(loca, 4 * g) : 2 * u16(loca, 2 * g);
    return at;
}

// The glyphs a composite glyph is built from.
void addComponents(const std::string& glyf, std::uint32_t from, std::uint32_t to, std::vector<std::uint16_t>& out)
{
    if (to < from + 10 || s16(glyf, from) >= 0)
        return;
    constexpr std::uint32_t Words = 0x1, Scale = 0x8, More = 0x20, XYScale = 0x40, TwoByTwo = 0x80;
    size_t at = from + 10;
    std::uint32_t flags = More;
    while ((flags & More) && at + 4 <= to) {
        flags = u16(glyf, at);
        out.push_back(static_cast<std::uint16_t>(u16(glyf, at + 2)));
        at += 4 + ((flags & Words) ? 4 : 2);
        at += (flags & Scale) ? 2 : (flags & XYScale) ? 4 : (flags & TwoByTwo) ? 8 : 0;
    }
}

}  // namespace

std::optional<TrueTypeSubset::Metrics> TrueTypeSubset::metrics(const TableSource& tables)
{
    const std::string head = tables("head"), hhea = tables("hhea");
    auto hmtx = std::make_shared<const std::string>(tables("hmtx"));
    if (head.size() < 54 || hhea.size() < 36 || hmtx->size() < 4)
        return std::nullopt;
    Metrics m;
    m.unitsPerEm = std::max<int>(16, static_cast<int>(u16(head, 18)));
    m.xMin = s16(head, 36);
    m.yMin = s16(head, 38);
    m.xMax = s16(head, 40);
    m.yMax = s16(head, 42);
    m.ascent = s16(hhea, 4);
    m.descent = s16(hhea, 6);
    const std::uint32_t longMetrics = std::max<std::uint32_t>(1, u16(hhea, 34));
    m.advance = [hmtx, longMetrics](std::uint16_t glyph) {
        return static_cast<int>(u16(*hmtx, 4 * std::min<std::uint32_t>(glyph, longMetrics - 1)));
    };
    return m;
}

std::string TrueTypeSubset::subset(const TableSource& tables, const std::set<std::uint16_t>& glyphs)
{
    std::string head = tables("head");
    const std::string maxp = tables("maxp"), loca = tables("loca"), glyf = tables("glyf");
    if (head.size() < 54 || maxp.size() < 6 || loca.empty() || glyf.empty())
        return {};
    const size_t count = u16(maxp, 4);
    const bool longFormat = s16(head, 50) == 1;
    if (loca.size() < (count + 1) * (longFormat ? 4 : 2))
        return {};
    const std::vector<std::uint32_t> at = locations(loca, longFormat, count);

    std::vector<bool> keep(count, false);
    std::vector<std::uint16_t> pending(glyphs.begin(), glyphs.end());
    pending.push_back(0);  // the missing-glyph glyph is always there
    while (!pending.empty()) {
        const std::uint16_t g = pending.back();
        pending.pop_back();
        if (g >= count || keep[g])
            continue;
        keep[g] = true;
        if (at[g] < at[g + 1] && at[g + 1] <= glyf.size())
            addComponents(glyf, at[g], at[g + 1], pending);
    }

    std::string newGlyf, newLoca;
    for (size_t g = 0; g < count; ++g) {
        put32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));
        if (keep[g] && at[g] < at[g + 1] && at[g + 1] <= glyf.size()) {
            newGlyf.append(glyf, at[g], at[g + 1] - at[g]);
            newGlyf.resize((newGlyf.size() + 3) & ~size_t(3), '\0');
        }
    }
    put32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));
    head[50] = 0;
    head[51] = 1;  // long offsets in loca
    head.replace(8, 4, 4, '\0');

    std::map<std::string, std::string> out{
        {"head", head},           {"hhea", tables("hhea")}, {"hmtx", tables("hmtx")},
        {"maxp", maxp},           {"loca", newLoca},        {"glyf", newGlyf},
        {"cvt ", tables("cvt ")}, {"fpgm", tables("fpgm")}, {"prep", tables("prep")}};
    std::erase_if(out, [](const auto& t) { return t.second.empty(); });

    const auto n = static_cast<std::uint32_t>(out.size());
    std::uint32_t power = 1, log = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log;
    }
    std::string file;
    put32(file, 0x00010000);
    put16(file, n);
    put16(file, power * 16);
    put16(file, log);
    put16(file, n * 16 - power * 16);
    std::uint32_t offset = 12 + 16 * n;
    for (const auto& [tag, table] : out) {
        file += tag;
        put32(file, checksum(table));
        put32(file, offset);
        put32(file, static_cast<std::uint32_t>(table.size()));
        offset += (static_cast<std::uint32_t>(table.size()) + 3) & ~3u;
    }
    for (const auto& [tag, table] : out) {
        file += table;
        file.resize((file.size() + 3) & ~size_t(3), '\0');
    }
    return file;
}
