#pragma once
#include <memory>

#include "TDMarsipstaf.h"

// Creates the data module and opens its nine tables through the alias;
// throws EDatabaseError (prefixed by the table's name) when one cannot be
// opened.
std::unique_ptr<TDMarsipstaf> openDataModule();
