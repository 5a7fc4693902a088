#pragma once
#include <string>

#include "PageCanvas.h"

// The vocabulary shared by the report, its page, bands and printable controls.

enum class TRepPaperSize {
    Default,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    Paper10X14,
    Paper11X17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    Custom
};

enum class TRepOrientation { poPortrait, poLandscape };

enum class TRepUnits { MM, Inches, Pixels, Characters, Native };

enum class TRepBandType {
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbOverlay,
    rbChild
};

enum class TRepAlignment { taLeftJustify, taRightJustify, taCenter };

// Which edges of a band or control are drawn, and how.
struct TRepFrame {
    bool DrawTop = false, DrawBottom = false, DrawLeft = false, DrawRight = false;
    PageColor Color = PageColor::black();
    int Width = 1;  // pixels of the page picture
    bool any() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
};

struct ReportFont {
    std::string Name = "Arial";
    double Size = 10;  // points
    bool Bold = false;
    bool Italic = false;
    PageColor Color = PageColor::black();
    bool operator==(const ReportFont&) const = default;
};
