#pragma once
#include <memory>

class TDMarsipstaf;

// Creates the data module and opens its nine tables; throws EDatabaseError
// when a table cannot be opened.
// PENDING: the data module class is not in the program yet; until it is,
// this creates nothing and returns null, and DMarsipstaf stays null.
std::shared_ptr<TDMarsipstaf> openDataModule();
