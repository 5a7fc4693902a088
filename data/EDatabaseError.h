#pragma once
#include <stdexcept>
#include <string>

// Every failure of the data layer. The text is final: a named source is
// already in front as "Name: message".
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const std::string& message) : std::runtime_error(message) {}
};
