#pragma once
#include "FieldValue.h"
#include "TableDescription.h"

#include <string>
#include <vector>

// What a stored value may hold: UTF-8 text of printable characters and tab.
// The engines refuse anything else on every store, the admin tool's bulk
// writers and imports hold their rows to it, and check reports stored values
// that break it (written by another tool).
class StorableText {
public:
    // Why text may not be stored ("holds the control character 0x00 at
    // character 3", "is not UTF-8 (byte 0xE9 at byte 5)"), or empty.
    static std::string problem(const std::string& text);
    // The first value that may not be stored, as "Field 'NAME' " and its
    // problem, or empty. values are in the order of description's fields.
    static std::string problemIn(const TableDescription& description, const std::vector<FieldValue>& values);
};
