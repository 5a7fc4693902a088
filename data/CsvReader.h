#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Reads comma-separated values record by record: quoted fields may hold
// commas, doubled quotes and line breaks; records end with CR LF or LF. A
// UTF-8 byte order mark at the start is skipped. Reads through a stdio
// stream it does not own, one record in memory at a time.
class CsvReader {
public:
    enum class Result { Record, End, Error };

    explicit CsvReader(std::FILE* file) : file_(file) {}

    // The next record into fields. Error (with error() saying why) for a
    // quote left open at the end of the file or text after a closing quote.
    Result next(std::vector<std::string>& fields);
    // The line the record last read starts on, counted from 1.
    long long line() const { return recordLine_; }
    const std::string& error() const { return error_; }

private:
    int get();

    std::FILE* file_;
    long long nextLine_ = 1;
    long long recordLine_ = 0;
    bool started_ = false;
    std::string error_;
};
