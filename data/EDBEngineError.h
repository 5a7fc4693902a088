#pragma once
#include "EDatabaseError.h"
#include "EngineStatus.h"

// A non-zero engine status. The text is the engine's message followed by the
// distinct messages of its error stack, one per line.
class EDBEngineError : public EDatabaseError {
public:
    explicit EDBEngineError(const EngineStatus& status);

    EngineCode code() const { return code_; }

    // "An error occurred while attempting to initialize ..." for a failed start.
    static EDBEngineError startFailure(const EngineStatus& status);

    static std::string describe(const EngineStatus& status);

private:
    EDBEngineError(EngineCode code, const std::string& text);
    EngineCode code_;
};
