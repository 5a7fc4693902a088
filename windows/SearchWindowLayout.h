#pragma once
#include "CatalogueField.h"
#include "OrderingPlan.h"
#include "TDBGridOptions.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

// One of the two grids of a search window, with the navigator below it.
struct SearchGrid {
    QRect bounds;
    TDBGridOptions options;
    std::vector<CatalogueField> columns;             // lookup fields show texts
    std::vector<CatalogueField> narrowColumns = {};  // fixed at narrowWidth
    int narrowWidth = 0;
    QRect navigator;
};

// The parts of a search window, each created whole in the order the window
// gives them: the focus chain follows creation.
enum class SearchPart { upperGrid, upperNavigator, lowerGrid, lowerNavigator, orderingGroup, searchGroup, closeButton };

// What differs between the employee and the transfer search window.
struct SearchWindowLayout {
    const char* table;       // "Tdatapeg"
    const char* dataSource;  // "DSdatapeg"

    OrderingPlan ordering;

    QRect searchGroup;
    QString searchCaption;
    QRect searchBox;
    std::optional<int> searchMaxLength;  // none: no limit
    QRect searchButton;                  // "Cari"
    bool searchButtonFirst;              // tab order inside the group

    SearchGrid upper;  // the key columns
    SearchGrid lower;  // the other columns of the same row
    bool readOnlyGrids;
    bool boldGrids;  // cell font

    QRect closeButton;                 // "Tutup"
    std::vector<SearchPart> tabOrder;  // every part once
};
