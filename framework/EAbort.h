#pragma once
#include <exception>

// The silent error: it ends an event handler without any box.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};
