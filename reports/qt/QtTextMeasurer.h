#pragma once
#include <QRawFont>
#include <QString>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

#include "TextMeasurer.h"

// Real font metrics from the Liberation fonts, which have the metrics of the
// fonts the reports name (Arial, Times New Roman, Courier New), so a report
// lays out the same on every machine with those font files. Needs a
// QGuiApplication.
class QtTextMeasurer : public TextMeasurer {
public:
    // fontDirectory: where the Liberation .ttf files are.
    explicit QtTextMeasurer(QString fontDirectory = QStringLiteral("/usr/share/fonts/truetype/liberation"));

    std::vector<double> advances(const ReportFont& font, std::u16string_view text) const override;
    void measure(const ReportFont& font, std::u16string_view text, std::vector<double>& out) const override;
    double lineHeight(const ReportFont& font) const override;

    // The font file used for a report font; empty when it is missing.
    QString fileFor(const ReportFont& font) const;

private:
    // A loaded font file and the advances of the characters measured in it
    // so far (font units at LoadSize): a run measures the same few hundred
    // characters over and over.
    struct Loaded {
        QRawFont font;
        std::unordered_map<char32_t, std::vector<double>> advances;  // per glyph of the character
        // The characters below U+0800 that are one glyph, by code: the
        // advance, or NaN while not measured (or not one glyph).
        std::vector<double> small;
    };
    Loaded& loaded(const ReportFont& font) const;
    static double smallAdvance(Loaded& loaded, char16_t unit);
    const QRawFont& rawFont(const ReportFont& font) const { return loaded(font).font; }
    static const std::vector<double>& advancesOf(Loaded& loaded, const char16_t* units, int count);

    QString directory_;
    using Face = std::tuple<std::string, bool, bool>;  // family, bold, italic
    mutable std::map<QString, Loaded> fonts_;          // by file
    mutable std::map<Face, Loaded*> faces_;            // into fonts_
    mutable Face lastFace_;                            // the face asked for last
    mutable Loaded* last_ = nullptr;
};
