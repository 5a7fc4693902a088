#pragma once
#include <cstdio>
#include <string>

// Opens a new export file for writing, readable by its owner only (records
// of people leave the program through it); an existing file is replaced.
// Null with errno set on failure.
class ExportFile {
public:
    static std::FILE* create(const std::string& path);
};
