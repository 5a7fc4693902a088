#pragma once
#include "FieldValue.h"

#include <string>

// One field of a history entry: its value before and after the change
// (null where the record did not exist).
struct HistoryField {
    std::string field;
    FieldValue oldValue;
    FieldValue newValue;

    bool operator==(const HistoryField&) const = default;
};
