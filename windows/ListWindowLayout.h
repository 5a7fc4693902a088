#pragma once
#include "CatalogueField.h"
#include "TDBGridOptions.h"

#include <QRect>

#include <vector>

// What differs between the employee and the transfer list window: the
// table, the places of the buttons, grid and navigator, the grid's options
// and columns, and where the navigator stands in the tab order.
struct ListWindowLayout {
    const char* table;       // "Tdatapeg"
    const char* dataSource;  // "DSdatapeg"

    QRect firstButton;  // "Pertama"
    QRect lastButton;   // "Terakhir"
    QRect closeButton;  // "Tutup"

    QRect grid;
    TDBGridOptions gridOptions;
    std::vector<CatalogueField> gridColumns;  // lookup fields show texts
    bool readOnlyGrid;
    bool serifTitles;                                // titles in the bold serif face
    std::vector<CatalogueField> narrowColumns = {};  // fixed at narrowWidth
    int narrowWidth = 0;

    QRect navigator;
    bool navigatorBeforeButtons;  // tab order: grid, navigator, buttons
};
