#pragma once
#include <string>
#include <vector>

// Field lists as properties write them: names separated by ";".
class FieldNames {
public:
    // The names in order; empty names are left out.
    static std::vector<std::string> split(const std::string& list);
};
