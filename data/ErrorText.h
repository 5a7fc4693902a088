#pragma once
#include <string>

// How an error's text is shown to users: a final "." is added when the
// last character sorts after "." (so "not found" becomes "not found.").
class ErrorText {
public:
    static std::string forDisplay(const std::string& message);
};
