#pragma once
#include "EDatabaseError.h"

// A masked text that does not satisfy its mask. position() is the first
// failing character of the edit text (0-based).
class EDBEditError : public EDatabaseError {
public:
    EDBEditError(const std::string& message, int position) : EDatabaseError(message), position_(position) {}
    int position() const { return position_; }

private:
    int position_;
};
