#pragma once
#include "StorageEngine.h"

// While it lives, opening a database through the session leaves its shape as
// it is (no upgrade on opening): for the commands that look at a database or
// upgrade it themselves.
class UnchangedOnOpen {
public:
    UnchangedOnOpen() : session_(StorageEngine::defaultSession()), was_(session_.upgradesOnOpen())
    {
        session_.setUpgradesOnOpen(false);
    }
    ~UnchangedOnOpen() { session_.setUpgradesOnOpen(was_); }
    UnchangedOnOpen(const UnchangedOnOpen&) = delete;
    UnchangedOnOpen& operator=(const UnchangedOnOpen&) = delete;

private:
    StorageEngine& session_;
    bool was_;
};
