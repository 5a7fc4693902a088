#pragma once
#include <stdexcept>
#include <string>

// A text that cannot be converted, such as "'31/02/1990' is not a valid date".
// Not a database error: it comes from the conversion routines.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};
