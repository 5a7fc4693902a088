#pragma once

// The grid's vertical scroll bar. A dataset whose storage numbers its
// records gets a proportional bar; any other gets five positions: 0 on the
// first record, 4 on the last, 2 in between. The engine behind our tables
// numbers nothing (a record number would cost a count of the records in
// front), so the grids use the five-position bar and never pay for the
// table's size.
class GridScrollBar {
public:
    struct Range {
        int minimum = 0;
        int maximum = 0;
        int pageStep = 1;
        int position = 0;
    };

    // Five positions, placed by the dataset's BOF and EOF flags.
    static Range unnumbered(bool bof, bool eof) { return {0, 4, 1, bof ? 0 : eof ? 4 : 2}; }

    // A numbered dataset: recordNumber counts from 1.
    static Range numbered(int recordCount, int visibleRows, int recordNumber)
    {
        return {1, recordCount + visibleRows - 1, visibleRows, recordNumber};
    }

    enum class Move { None, First, Last, PageUp, PageDown, ToNumber };

    // The thumb released at position, on a five-position bar.
    static Move thumbUnnumbered(int position)
    {
        switch (position) {
        case 0:
            return Move::First;
        case 1:
            return Move::PageUp;
        case 3:
            return Move::PageDown;
        case 4:
            return Move::Last;
        default:
            return Move::None;
        }
    }

    // The thumb released at position on a numbered bar: First, Last, or
    // ToNumber (the record number is position).
    static Move thumbNumbered(int position, int recordCount)
    {
        if (position <= 1)
            return Move::First;
        if (position < recordCount)
            return Move::ToNumber;
        return Move::Last;
    }
};
