#pragma once
#include "ServerEngine.h"

// The server engine inside its module: databases on PostgreSQL servers.
class PgEngine : public ServerEngine {
public:
    EngineStatus open(const std::string& address, const PasswordList& passwords,
                      std::unique_ptr<ServerDatabase>& out) override;
};
