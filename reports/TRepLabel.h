#pragma once
#include "PrintableText.h"

// A fixed text.
class TRepLabel : public PrintableText {
public:
    using PrintableText::PrintableText;
    std::string Text() const override { return Caption; }

    std::string Caption;
};
