#pragma once
#include "TRepPrintable.h"

// A fixed text.
class TRepLabel : public TRepPrintable {
public:
    using TRepPrintable::TRepPrintable;
    std::string Text() const override { return Caption; }

    std::string Caption;
};
