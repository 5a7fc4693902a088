#pragma once
#include "EngineStatus.h"
#include "PasswordList.h"
#include "ServerDatabase.h"

#include <memory>
#include <string>

// The database server engine: the module arsipstaf-server, which alone links
// the server's client library. Loaded when an alias first names a server.
class ServerEngine {
public:
    virtual ~ServerEngine() = default;
    // The database at address (a postgresql:// address or a keyword list).
    // When the server asks for a password the address lacks, each of
    // passwords is tried; PasswordRequired when none is accepted.
    virtual EngineStatus open(const std::string& address, const PasswordList& passwords,
                              std::unique_ptr<ServerDatabase>& out) = 0;

    // The engine, its module loaded on first use; ModuleMissing naming the
    // module when it cannot be loaded.
    static EngineStatus load(ServerEngine*& out);
    // load, then open.
    static EngineStatus openDatabase(const std::string& address, const PasswordList& passwords,
                                     std::unique_ptr<ServerDatabase>& out);
    // Whether an alias value names a server rather than a directory.
    static bool isServerAddress(const std::string& value);
    // address with the tables' schema chosen (the server's search path), in
    // the address's own form: URI or keyword list.
    static std::string withSchema(const std::string& address, const std::string& schema);

    static constexpr const char* moduleName = "arsipstaf-server";
    static constexpr const char* entryName = "arsipstaf_server_engine";
};
