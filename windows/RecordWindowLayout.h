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

// One labelled row of a record window's panel: a bound entry, or a lookup
// box when listSource is set.
struct RecordRow {
    const char* label;
    const char* control;  // "DBEdit3", "DBLookupComboBox2"
    CatalogueField field;
    bool limitToField = false;  // entries only: MaxLength is the field's size (a date's, its text length)
    const char* listSource = nullptr;
    CatalogueField keyField = {};  // of the list source's table
    CatalogueField listField = {};

    bool isLookup() const { return listSource != nullptr; }
};

struct RecordPanel {
    const char* name;
    QRect bounds;
    std::vector<RecordRow> rows;
};

// What differs between the employee and the transfer data window: the
// table, the panels, the places of the groups, buttons, grid and navigator.
struct RecordWindowLayout {
    const char* table;       // "Tdatapeg"
    const char* dataSource;  // "DSdatapeg"
    RecordPanel left;
    RecordPanel right;
    bool entriesEnabledAtStart;

    OrderingPlan ordering;

    QRect searchGroup;
    QString searchCaption;
    int searchMaxLength;

    int buttonRowTop;
    int buttonLeft;
    int buttonStep;

    QRect grid;
    std::optional<TDBGridOptions> gridOptions;  // none: the grid's own defaults
    std::vector<CatalogueField> gridColumns;    // lookup fields show texts
    bool serifGrid;                             // cells and titles in the bold serif face

    QRect navigator;

    CatalogueField keyField;  // NIP: its entry takes the focus after a refused store
};
