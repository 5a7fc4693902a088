#pragma once
#include <optional>
#include <string>
#include <vector>

// One stored value. Text is UTF-8; a date is "YYYY-MM-DD" so that dates sort
// as text. std::nullopt is null (an empty date; text columns store "" instead,
// see docs/table-files.md).
using FieldValue = std::optional<std::string>;

// Whether two records hold the same values: empty text and no text are the
// same value to both engines.
inline bool sameStoredValues(const std::vector<FieldValue>& a, const std::vector<FieldValue>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].value_or(std::string()) != b[i].value_or(std::string()))
            return false;
    return true;
}
