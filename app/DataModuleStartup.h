#pragma once
#include <memory>

#include "TDMarsipstaf.h"

class TableFilesAhead;

// Creates the data module and opens its nine tables through the alias;
// throws EDatabaseError (prefixed by the table's name) when one cannot be
// opened.
std::unique_ptr<TDMarsipstaf> openDataModule();
// Starts opening the data module's table files in the background while the
// windows are built; openDataModule takes them while the result is kept.
// Reports nothing: the data module's own opening does.
std::shared_ptr<TableFilesAhead> openTablesAhead();
