#pragma once
#include "CodeTexts.h"
#include "EditMask.h"
#include "EngineRecord.h"
#include "ExportColumn.h"
#include "RegionalSettings.h"
#include "TableDescription.h"

#include <memory>
#include <string>
#include <vector>

class EngineSnapshot;
class TTable;

// The checks a clerk's entry passes, applied to one imported row: text no
// longer than its field, masked text that fills its mask, dates read by the
// date rules of the regional settings, codes found in their code tables,
// and a key that is not empty. Lookup texts in the row are not read: they
// follow from the codes.
class ImportRowCheck {
public:
    // columns as the export writes them for table; codes of each lookup's
    // code table, read from snapshot. Fails (false, why in error) when a
    // code table cannot be read.
    bool prepare(const TTable& table, const TableDescription& file, const std::vector<ExportColumn>& columns,
                 EngineSnapshot& snapshot, std::string& error);

    // The record for row (one value per column of the file, blanks where
    // the row has none) and every reason it is refused; none when it passes.
    std::vector<std::string> check(const std::vector<std::string>& row, EngineRecord& record) const;

    // Key columns of the primary index, as record column numbers.
    const std::vector<int>& keyColumns() const { return keys_; }

private:
    struct Rule {
        int row = -1;     // position in the imported row
        int column = -1;  // record column
        std::string name;
        bool date = false;
        int size = 0;  // characters, 0 for no limit
        EditMask mask;
        const CodeTexts::Map* codes = nullptr;  // a code that must exist
        std::string codeTable;
    };
    std::string checkText(const Rule& rule, const std::string& text) const;

    std::vector<Rule> rules_;
    std::vector<std::unique_ptr<CodeTexts::Map>> codes_;
    std::vector<int> keys_;
    std::vector<std::string> keyNames_;
    EngineRecord blank_;
    RegionalSettings settings_;
    int currentYear_ = 0;
};
