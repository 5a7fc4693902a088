#pragma once
#include "TRepTypes.h"

enum class TRepOutputBin {
    First,
    Upper,
    Lower,
    Middle,
    Manual,
    Envelope,
    EnvManual,
    Auto,
    Tractor,
    SmallFormat,
    LargeFormat,
    LargeCapacity,
    Cassette,
    Last
};

// The printer's device description, in the codes the printer drivers use:
// paper number, orientation, copies, paper source and duplex. The printer
// layer reads it from the driver and hands it back changed before a job.
struct DeviceDescription {
    // Which fields the driver takes.
    enum Field : unsigned {
        FieldOrientation = 0x1,
        FieldPaperSize = 0x2,
        FieldPaperLength = 0x4,
        FieldPaperWidth = 0x8,
        FieldCopies = 0x100,
        FieldDefaultSource = 0x200,
        FieldDuplex = 0x1000
    };
    static constexpr int Portrait = 1, Landscape = 2;
    static constexpr int Simplex = 1, VerticalDuplex = 2, HorizontalDuplex = 3;
    static constexpr int UserPaper = 256;    // the size is in PaperWidth and PaperLength
    static constexpr int SourceMask = 0xFF;  // bits above it are the driver's own

    unsigned Fields = FieldOrientation | FieldPaperSize | FieldPaperLength | FieldPaperWidth | FieldCopies |
                      FieldDefaultSource | FieldDuplex;
    int Orientation = Portrait;
    int PaperSize = 9;    // paper number 1..26, or UserPaper
    int PaperLength = 0;  // tenths of a millimetre, portrait, for UserPaper
    int PaperWidth = 0;
    int Copies = 1;
    int DefaultSource = 7;  // paper source number in the low byte
    int Duplex = Simplex;

    bool supports(Field field) const { return (Fields & field) != 0; }
    bool operator==(const DeviceDescription&) const = default;

    // The paper source number of an output bin.
    static int sourceOf(TRepOutputBin bin);
};
