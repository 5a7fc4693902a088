#include "BackupManifest.h"

#include <sstream>

namespace {
constexpr const char* heading = "# arsipstaf backup, format 1";
}  // namespace

std::string BackupManifest::text() const
{
    std::ostringstream out;
    out << heading << "\ntaken " << taken << "\nsource " << source << '\n';
    for (const Table& table : tables)
        out << "table " << table.name << " records " << table.records << " last " << table.last << " bytes "
            << table.bytes << " sha256 " << table.sha256 << '\n';
    return out.str();
}

bool BackupManifest::parse(const std::string& text, BackupManifest& out, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    int number = 0;
    out = BackupManifest();
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string word;
        words >> word;
        bool ok = true;
        if (number == 1) {
            ok = line == heading;
        } else if (word == "taken") {
            ok = static_cast<bool>(words >> out.taken);
        } else if (word == "source") {
            std::getline(words >> std::ws, out.source);
        } else if (word == "table") {
            Table table;
            std::string records, last, bytes, sha;
            ok = static_cast<bool>(words >> table.name >> records >> table.records >> last >> table.last >> bytes >>
                                   table.bytes >> sha >> table.sha256) &&
                 records == "records" && last == "last" && bytes == "bytes" && sha == "sha256" &&
                 table.sha256.size() == 64 && (words >> word).fail();
            out.tables.push_back(table);
        } else {
            ok = false;
        }
        if (!ok) {
            error = "manifest line " + std::to_string(number) + " is not understood: " + line;
            return false;
        }
    }
    if (number == 0) {
        error = "the manifest is empty";
        return false;
    }
    return true;
}
