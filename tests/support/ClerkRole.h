#pragma once
// A clerk's login role on the test server with a password the alias does not
// carry: the alias of db is pointed at the same schema as that role, and
// PGPASSWORD (which the test server's own role uses) is put aside, so the
// server asks for the password. Everything is undone at the end.
#include "TempDatabase.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

class ClerkRole {
public:
    ClerkRole(const TempDatabase& db, const std::string& password)
        : role_("arsipstaf_clerk_" + std::to_string(::getpid()))
    {
        TempDatabase::serverScript(TempDatabase::serverAddress(),
                                   "DROP ROLE IF EXISTS " + role_ + "; CREATE ROLE " + role_ + " LOGIN PASSWORD " +
                                       "'" + password + "'" + "; GRANT USAGE ON SCHEMA " + db.schema() + " TO " +
                                       role_ + "; GRANT ALL ON ALL TABLES IN SCHEMA " + db.schema() + " TO " + role_);
        if (const char* saved = std::getenv("PGPASSWORD"))
            savedPassword_ = saved;
        unsetenv("PGPASSWORD");
        std::string alias = db.serverAlias();
        size_t user = alias.find("://") + 3;
        alias.replace(user, alias.find('@') - user, role_);
        TempDatabase::check(EngineConfig::writeAlias(db.configPath(), "rekam_induk", alias));
        StorageEngine::defaultSession().passwords().clear();
    }
    ~ClerkRole()
    {
        StorageEngine::defaultSession().passwords().clear();
        if (savedPassword_)
            setenv("PGPASSWORD", savedPassword_->c_str(), 1);
        try {
            TempDatabase::serverScript(TempDatabase::serverAddress(),
                                       "DROP OWNED BY " + role_ + "; DROP ROLE IF EXISTS " + role_);
        } catch (const std::exception&) {
            // Goes with the throw-away server.
        }
    }
    ClerkRole(const ClerkRole&) = delete;
    ClerkRole& operator=(const ClerkRole&) = delete;

private:
    std::string role_;
    std::optional<std::string> savedPassword_;
};
