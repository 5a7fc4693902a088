#include "PgEngine.h"

#include "PgDatabase.h"

EngineStatus PgEngine::open(const std::string& address, const PasswordList& passwords,
                            std::unique_ptr<ServerDatabase>& out)
{
    std::shared_ptr<PgConnection> connection;
    EngineStatus status = PgConnection::open(address, passwords, connection);
    if (status.ok())
        out = std::make_unique<PgDatabase>(std::move(connection));
    return status;
}

// The module's one entry (see ServerEngine::load).
extern "C" __attribute__((visibility("default"))) ServerEngine* arsipstaf_server_engine()
{
    static PgEngine engine;
    return &engine;
}
