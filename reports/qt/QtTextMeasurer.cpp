#include "QtTextMeasurer.h"

#include <QFileInfo>
#include <cmath>

namespace {

// Fonts are loaded at this pixel size and scaled: metrics are linear in size
// without hinting.
constexpr double LoadSize = 100;
constexpr double TenthsMmPerPoint = 254.0 / 72.0;

QString familyFile(const std::string& family)
{
    QString name = QString::fromStdString(family).toLower();
    if (name.contains(QStringLiteral("times")) || name.contains(QStringLiteral("serif")) ||
        name.contains(QStringLiteral("roman")))
        return QStringLiteral("LiberationSerif");
    if (name.contains(QStringLiteral("courier")) || name.contains(QStringLiteral("mono")))
        return QStringLiteral("LiberationMono");
    return QStringLiteral("LiberationSans");
}

}  // namespace

QtTextMeasurer::QtTextMeasurer(QString fontDirectory) : directory_(std::move(fontDirectory))
{
}

QString QtTextMeasurer::fileFor(const ReportFont& font) const
{
    QString style = QStringLiteral("Regular");
    if (font.Bold && font.Italic)
        style = QStringLiteral("BoldItalic");
    else if (font.Bold)
        style = QStringLiteral("Bold");
    else if (font.Italic)
        style = QStringLiteral("Italic");
    const QString path =
        directory_ + QLatin1Char('/') + familyFile(font.Name) + QLatin1Char('-') + style + QStringLiteral(".ttf");
    return QFileInfo::exists(path) ? path : QString();
}

// Every measured text asks for its font: the file is looked for once per
// face, not once per text.
QtTextMeasurer::Loaded& QtTextMeasurer::loaded(const ReportFont& font) const
{
    if (last_ && std::get<1>(lastFace_) == font.Bold && std::get<2>(lastFace_) == font.Italic &&
        std::get<0>(lastFace_) == font.Name)
        return *last_;
    const Face face{font.Name, font.Bold, font.Italic};
    if (const auto known = faces_.find(face); known != faces_.end()) {
        lastFace_ = face;
        last_ = known->second;
        return *last_;
    }
    const QString file = fileFor(font);
    auto found = fonts_.find(file);
    if (found == fonts_.end())
        found = fonts_.emplace(file, Loaded{QRawFont(file, LoadSize, QFont::PreferNoHinting), {}, {}}).first;
    faces_.emplace(face, &found->second);
    return found->second;
}

const std::vector<double>& QtTextMeasurer::advancesOf(Loaded& loaded, const char16_t* units, int count)
{
    const char32_t key = count == 2 ? QChar::surrogateToUcs4(units[0], units[1]) : units[0];
    if (const auto known = loaded.advances.find(key); known != loaded.advances.end())
        return known->second;
    const QString piece = QString::fromUtf16(units, count);
    const QList<quint32> glyphs = loaded.font.glyphIndexesForString(piece);
    const QList<QPointF> adv = loaded.font.advancesForGlyphIndexes(glyphs, QRawFont::SeparateAdvances);
    std::vector<double> each;
    for (const QPointF& a : adv)
        each.push_back(a.x());
    return loaded.advances.emplace(key, std::move(each)).first->second;
}

double QtTextMeasurer::smallAdvance(Loaded& loaded, char16_t unit)
{
    if (loaded.small.empty())
        loaded.small.assign(0x800, std::nan(""));
    double& known = loaded.small[unit];
    if (std::isnan(known)) {
        const std::vector<double>& each = advancesOf(loaded, &unit, 1);
        if (each.size() != 1)
            return std::nan("");
        known = each.front();
    }
    return known;
}

std::vector<double> QtTextMeasurer::advances(const ReportFont& font, std::u16string_view text) const
{
    std::vector<double> out;
    measure(font, text, out);
    return out;
}

void QtTextMeasurer::measure(const ReportFont& font, std::u16string_view text, std::vector<double>& out) const
{
    out.assign(text.size(), 0.0);
    Loaded& face = loaded(font);
    const double scale = font.Size / LoadSize * TenthsMmPerPoint;
    const bool valid = face.font.isValid();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x800 && valid) {
            if (const double advance = smallAdvance(face, text[i]); !std::isnan(advance)) {
                out[i] += advance * scale;
                continue;
            }
        }
        int units = 1;
        if (QChar::isHighSurrogate(text[i]) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1]))
            units = 2;
        if (valid) {
            for (double advance : advancesOf(face, text.data() + i, units))
                out[i] += advance * scale;
        } else {
            out[i] = LoadSize / 2 * scale;  // no font file: half an em
        }
        i += static_cast<size_t>(units - 1);
    }
}

double QtTextMeasurer::lineHeight(const ReportFont& font) const
{
    const QRawFont& raw = rawFont(font);
    const double scale = font.Size / LoadSize * TenthsMmPerPoint;
    if (!raw.isValid())
        return LoadSize * 1.15 * scale;
    return (raw.ascent() + raw.descent()) * scale;
}
