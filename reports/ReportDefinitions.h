#pragma once
#include <memory>

#include "TBandReport.h"

class TDataSet;

// The band and control tables of the program's reports, as data. Each
// function builds `Report1` of its window over the given table (which the
// report does not own); the windows only attach them.
namespace ReportDefinitions {
// "Daftar Urut Kepangkatan" over the employee table.
std::unique_ptr<TBandReport> Form9(TDataSet* datapeg);
// "Bezetting" over the employee table.
std::unique_ptr<TBandReport> Form10(TDataSet* datapeg);
// "Mutasi" over the transfer table.
std::unique_ptr<TBandReport> Form11(TDataSet* mutasi);
// The near-empty report of the window no command reaches.
std::unique_ptr<TBandReport> Form8();
}  // namespace ReportDefinitions
