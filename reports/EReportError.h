#pragma once
#include <stdexcept>
#include <string>

// Every failure of the report engine, its page store and its pictures.
class EReportError : public std::runtime_error {
public:
    explicit EReportError(const std::string& message) : std::runtime_error(message) {}
};
