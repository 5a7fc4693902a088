#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The manifest of a backup directory ("manifest"): when it was taken, from
// where, and per table file its record count, the highest record number
// ever given out (the engine never reuses one, so a database whose number
// is higher holds records added after the backup), its size and SHA-256.
// Written last, under another name and then renamed, so a directory whose
// copy was cut short has no manifest.
struct BackupManifest {
    struct Table {
        std::string name;  // "Datapegawai.db"
        std::int64_t records = 0;
        std::int64_t last = 0;
        std::int64_t bytes = 0;
        std::string sha256;
    };

    std::string taken;   // UTC, "2026-12-07T11:40:00Z"
    std::string source;  // the directory the alias named
    std::vector<Table> tables;

    static constexpr const char* fileName = "manifest";

    std::string text() const;
    // False, with the line that is wrong in error, for anything else.
    static bool parse(const std::string& text, BackupManifest& out, std::string& error);
};
