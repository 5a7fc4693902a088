#include "CsvWriter.h"

namespace {

bool needsQuotes(const std::string& text)
{
    if (text.empty())
        return false;
    if (text.front() == ' ' || text.back() == ' ')
        return true;
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    return false;
}

// Appends the field as it appears in the file: no copy for the usual field.
void append(std::string& out, const std::string& text)
{
    if (!needsQuotes(text)) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string CsvWriter::field(const std::string& text)
{
    std::string out;
    append(out, text);
    return out;
}

bool CsvWriter::writeRecord(const std::vector<std::string>& fields)
{
    line_.clear();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line_ += ',';
        append(line_, fields[i]);
    }
    line_ += "\r\n";
    return std::fwrite(line_.data(), 1, line_.size(), file_) == line_.size();
}
