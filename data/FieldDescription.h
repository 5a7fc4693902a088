#pragma once
#include <string>

enum class ColumnType { Text, Date, Other };

// A column of a table file as the engine describes it.
struct FieldDescription {
    std::string name;
    ColumnType type = ColumnType::Text;
    int size = 0;              // characters, for text columns
    std::string typeName;      // "String", "Date", or the file's own name for other types
    std::string defaultValue;  // declared default for a blank record; empty when none
    bool hasDefault = false;

    bool operator==(const FieldDescription&) const = default;
};
