#pragma once
#include <optional>
#include <string>

// One stored value. Text is UTF-8; a date is "YYYY-MM-DD" so that dates sort
// as text. std::nullopt is null (an empty date; text columns store "" instead,
// see docs/table-files.md).
using FieldValue = std::optional<std::string>;
