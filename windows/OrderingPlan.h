#pragma once
#include "CatalogueField.h"

#include <QRect>
#include <QStringList>

#include <string>
#include <vector>

// The ordering group of a record or search window: its place, its items and
// the IndexFieldNames each item sets.
struct OrderingPlan {
    QRect bounds;
    QStringList items;
    std::vector<CatalogueField> fields;  // one per item

    // The fields of item index; any index past the second (or none chosen)
    // takes the third item's.
    std::string fieldsOf(int index) const { return fields.at(index == 0 || index == 1 ? index : 2).name; }
    // The item that sets these IndexFieldNames; -1 for any other ordering.
    int itemOf(const std::string& names) const
    {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].name == names)
                return int(i);
        return -1;
    }
};
