#include "CsvWriter.h"

std::string CsvWriter::field(const std::string& text)
{
    bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                 (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

bool CsvWriter::writeRecord(const std::vector<std::string>& fields)
{
    line_.clear();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line_ += ',';
        line_ += field(fields[i]);
    }
    line_ += "\r\n";
    return std::fwrite(line_.data(), 1, line_.size(), file_) == line_.size();
}
