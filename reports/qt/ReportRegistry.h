#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "TBandReport.h"

class TDataSet;
class TDMarsipstaf;

// The program's reports, one entry each. The menu makes a "Laporan" item of
// every entry, the start-up a report window, and the admin tool's report
// command takes the entry's name: a new report is its definition and one
// entry in ReportRegistry.cpp.
class ReportRegistry {
public:
    struct Entry {
        const char* name;                          // the report window's object name, and the admin tool's NAME
        const char* caption;                       // the report window's caption
        const char* menuItem;                      // the "Laporan" item's object name
        const char* menuCaption;                   // the item's caption
        std::uint16_t shortCut;                    // the item's short-cut (ShortCut value)
        TDataSet& (*table)(TDMarsipstaf& module);  // the table the report runs over
        std::unique_ptr<TBandReport> (*define)(TDataSet* table);  // builds the definition over it

        // The report over its table of module (which the report does not own).
        std::unique_ptr<TBandReport> makeReport(TDMarsipstaf& module) const { return define(&table(module)); }
    };

    // In menu order.
    static const std::vector<Entry>& all();
    // The entry of that name; nullptr when there is none.
    static const Entry* find(std::string_view name);
    // The entry of that name; throws std::out_of_range when there is none.
    static const Entry& at(std::string_view name);
    // The names joined for a message: "Form9, Form10 or Form11".
    static std::string names();
};
