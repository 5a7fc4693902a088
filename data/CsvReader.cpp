#include "CsvReader.h"

int CsvReader::get()
{
    int c = std::getc(file_);
    if (c == '\n')
        ++nextLine_;
    return c;
}

CsvReader::Result CsvReader::next(std::vector<std::string>& fields)
{
    fields.clear();
    if (!started_) {
        started_ = true;
        int a = std::getc(file_), b = a == 0xEF ? std::getc(file_) : EOF, c = b == 0xBB ? std::getc(file_) : EOF;
        if (!(a == 0xEF && b == 0xBB && c == 0xBF)) {
            // Not a byte order mark: put back what was read (only the first
            // byte can differ from one, so at most one byte is pending).
            if (c != EOF || b != EOF) {
                error_ = "the file starts with a damaged byte order mark";
                return Result::Error;
            }
            if (a != EOF)
                std::ungetc(a, file_);
        }
    }
    recordLine_ = nextLine_;
    int c = get();
    if (c == EOF)
        return Result::End;
    std::string field;
    for (;;) {
        if (c == '"' && field.empty()) {
            for (;;) {
                c = get();
                if (c == EOF) {
                    error_ = "a quoted field is not closed";
                    return Result::Error;
                }
                if (c == '"') {
                    c = get();
                    if (c != '"')
                        break;
                }
                field += static_cast<char>(c);
            }
            if (c != ',' && c != '\n' && c != '\r' && c != EOF) {
                error_ = "text after a closing quote";
                return Result::Error;
            }
        }
        if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
            c = get();
            continue;
        }
        if (c == '\r') {
            int n = get();
            if (n != '\n' && n != EOF)
                std::ungetc(n, file_);
            c = '\n';
        }
        if (c == '\n' || c == EOF) {
            fields.push_back(std::move(field));
            return Result::Record;
        }
        field += static_cast<char>(c);
        c = get();
    }
}
