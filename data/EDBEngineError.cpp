#include "EDBEngineError.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string hexCode(const char* format, EngineCode code)
{
    char text[160];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(code));
    return text;
}

}  // namespace

std::string EDBEngineError::describe(const EngineStatus& status)
{
    std::string text = status.message;
    std::vector<std::string> seen;
    if (!text.empty())
        seen.push_back(text);
    for (const std::string& line : status.stack) {
        if (line.empty() || std::find(seen.begin(), seen.end(), line) != seen.end())
            continue;
        seen.push_back(line);
        if (!text.empty())
            text += '\n';
        text += line;
    }
    if (text.empty())
        text = hexCode("Engine error $%.4x", status.code);
    return text;
}

EDBEngineError::EDBEngineError(EngineCode code, const std::string& text) : EDatabaseError(text), code_(code)
{
}

EDBEngineError::EDBEngineError(const EngineStatus& status) : EDBEngineError(status.code, describe(status))
{
}

EDBEngineError EDBEngineError::startFailure(const EngineStatus& status)
{
    return EDBEngineError(
        status.code,
        hexCode("An error occurred while attempting to initialize the database engine (error $%.4x)", status.code));
}
