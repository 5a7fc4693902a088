#pragma once
#include <string>

// A table, column or index name as both engines' SQL takes it: in double
// quotes, a quote inside doubled.
inline std::string quotedIdentifier(const std::string& name)
{
    std::string text = "\"";
    for (char c : name) {
        if (c == '"')
            text += '"';
        text += c;
    }
    return text + "\"";
}
