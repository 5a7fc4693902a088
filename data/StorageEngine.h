#pragma once
#include "EngineDatabase.h"
#include "PasswordList.h"

#include <memory>
#include <string>

// The engine session. It resolves aliases through its own configuration
// file (see EngineConfig) and opens databases.
class StorageEngine {
public:
    virtual ~StorageEngine() = default;
    virtual const std::string& sessionName() const = 0;  // "Default"
    virtual EngineStatus openDatabase(const std::string& alias, std::unique_ptr<EngineDatabase>& out) = 0;

    // The one default session, started on first use. Throws EDBEngineError
    // (the initialization message) when the engine cannot start.
    static StorageEngine& defaultSession();

    // The passwords given in this session, tried when a database server asks
    // for one (see PasswordRequired).
    PasswordList& passwords() { return passwords_; }

private:
    PasswordList passwords_;
};
