#include "ServerEngine.h"

#include "EngineModule.h"

#include <cctype>

EngineStatus ServerEngine::load(ServerEngine*& out)
{
    void* entry = nullptr;
    EngineStatus status = EngineModule::load(moduleName, entryName, entry);
    if (status.ok())
        out = reinterpret_cast<ServerEngine* (*)()>(entry)();
    return status;
}

EngineStatus ServerEngine::openDatabase(const std::string& address, const PasswordList& passwords,
                                        std::unique_ptr<ServerDatabase>& out)
{
    ServerEngine* engine = nullptr;
    EngineStatus status = load(engine);
    return status.ok() ? engine->open(address, passwords, out) : status;
}

bool ServerEngine::isServerAddress(const std::string& value)
{
    if (value.rfind("postgresql://", 0) == 0 || value.rfind("postgres://", 0) == 0)
        return true;
    // A keyword list such as "service=kantor" or "host=db dbname=arsip".
    size_t i = 0;
    while (i < value.size() && (std::isalpha(static_cast<unsigned char>(value[i])) || value[i] == '_'))
        ++i;
    while (i < value.size() && value[i] == ' ')
        ++i;
    return i > 0 && i < value.size() && value[i] == '=';
}

std::string ServerEngine::withSchema(const std::string& address, const std::string& schema)
{
    if (address.rfind("postgres", 0) == 0 && address.find("://") != std::string::npos)
        return address + (address.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + schema;
    return address + " options='-csearch_path=" + schema + "'";
}
