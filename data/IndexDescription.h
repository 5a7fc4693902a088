#pragma once
#include <string>
#include <vector>

// An index of a table file. fields are column names in key order; for an
// expression index they are empty and expression holds its text.
struct IndexDescription {
    std::string name;
    std::vector<std::string> fields;
    bool primary = false;
    bool unique = false;
    bool descending = false;
    bool caseInsensitive = false;
    bool expression = false;
    std::string expressionText;

    bool operator==(const IndexDescription&) const = default;

    // The field list as "A;B;C", the form IndexFieldNames compares with.
    std::string fieldList() const
    {
        std::string list;
        for (const std::string& field : fields) {
            if (!list.empty())
                list += ';';
            list += field;
        }
        return list;
    }
};
