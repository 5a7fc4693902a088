#pragma once
#include "CatalogueField.h"

#include <cstddef>
#include <vector>

// The columns the record, list and search windows show of the employee and
// the transfer table, in order; lookup fields show their texts.
// A search window shows the leading key columns in its upper grid and the
// rest below.
class GridColumns {
public:
    using List = std::vector<CatalogueField>;

    static const List& employees();
    static const List& transfers();

    // The leading key columns (NIP, Karpeg, Nama_Pegawai; No_SKM, NIP,
    // Nama_Pegawai), and the columns after them.
    static List keys(const List& columns);
    static List afterKeys(const List& columns);

private:
    static constexpr std::ptrdiff_t keyCount = 3;
};
