#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Comma-separated values as spreadsheets exchange them: fields separated by
// commas, records ended by CR LF, a field quoted when it holds a comma, a
// quote, a line break or a leading or trailing blank, quotes inside doubled.
// Writes through a stdio stream it does not own.
class CsvWriter {
public:
    explicit CsvWriter(std::FILE* file) : file_(file) {}

    // One record; false when the stream failed (disk full, closed pipe).
    bool writeRecord(const std::vector<std::string>& fields);
    // A field as it appears in the file, quoted when needed.
    static std::string field(const std::string& text);

private:
    std::FILE* file_;
    std::string line_;
};
