#pragma once
#include "ReplacingFile.h"

#include <memory>
#include <string>

// A new export file, written beside path and renamed over it only when
// complete, so a failed or cancelled export leaves what was there. It is
// readable by its owner only (records of people leave the program through
// it): a file it replaces is narrowed to that first.
class ExportFile {
public:
    static std::unique_ptr<ReplacingFile> create(const std::string& path);
};
